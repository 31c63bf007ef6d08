#pragma once

#include <string>

#include "demo/game_folder.h"

// Three balance mods for the demo installation, as a player downloads them: two set the Kestrel's top speed
// differently, the third, a lone sheet, changes a gun.
namespace tovarin::testkit {

inline const std::string kFasterFighters = "[Mod]\r\nName=Faster Fighters\r\nVersion=1.0\r\nGame=Vantorsk Ashfall\r\n";

// Written into the folder (relative to the game folder) as "ff", "hm" and "gun pack.csv".
inline void WriteThreeMods(const demo::GameFolder& game, const std::string& folder) {
    game.WriteText(folder + "\\ff\\mod.ini", kFasterFighters);
    game.WriteText(folder + "\\ff\\ships.csv", "ship,speedmax,hp\r\nKestrel,640,\r\nWarden,,500\r\n");
    game.WriteText(folder + "\\hm\\mod.ini", "[Mod]\r\nName=Heavy Metal\r\nVersion=2\r\n");
    game.WriteText(folder + "\\hm\\ships.csv", "ship,speedmax,mass\r\nKestrel,620,11000\r\nHalberd,,30000\r\n");
    game.WriteText(folder + "\\gun pack.csv", "gun,damage\r\nPulse Laser,41\r\n");
}

}  // namespace tovarin::testkit
