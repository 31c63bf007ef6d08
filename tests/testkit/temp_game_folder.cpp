#include "testkit/temp_game_folder.h"

#include "testkit/temp_folder.h"

namespace tovarin::testkit {

TempGameFolder::TempGameFolder(demo::Edition edition) : demo::GameFolder(NewTempFolder(), edition) {}

TempGameFolder::~TempGameFolder() { RemoveTempFolder(Root()); }

}  // namespace tovarin::testkit
