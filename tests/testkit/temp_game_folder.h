#pragma once

#include "demo/game_folder.h"
#include "testkit/temp_folder.h"

namespace tovarin::testkit {

// A game installation in a fresh temporary folder, removed with everything in it when the object dies (the
// folder is a base, so it is made before the installation is written and removed after it is gone).
class TempGameFolder : private TempFolder, public demo::GameFolder {
public:
    explicit TempGameFolder(demo::Edition edition = demo::Edition::Base) : GameFolder(Path(), edition) {}
};

}  // namespace tovarin::testkit
