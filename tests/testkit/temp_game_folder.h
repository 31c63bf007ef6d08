#pragma once

#include "demo/game_folder.h"

namespace tovarin::testkit {

// A game installation in a fresh temporary folder, removed with everything in it when the object dies.
class TempGameFolder : public demo::GameFolder {
public:
    explicit TempGameFolder(demo::Edition edition = demo::Edition::Base);
    ~TempGameFolder() override;
    TempGameFolder(const TempGameFolder&) = delete;
    TempGameFolder& operator=(const TempGameFolder&) = delete;
};

}  // namespace tovarin::testkit
