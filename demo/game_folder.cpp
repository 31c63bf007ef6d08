#include "demo/game_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "gamefiles/system_paths.h"

namespace tovarin::demo {

namespace fs = std::filesystem;

std::string IniText(const std::vector<IniSection>& sections) {
    std::string text;
    for (const IniSection& section : sections) {
        text += "[" + section.Name + "]\r\n";
        for (const auto& [key, value] : section.Keys) text += key + "=" + value + "\r\n";
    }
    return text;
}

GameFolder::GameFolder(const fs::path& folder, Edition edition) : root_(folder), edition_(edition) {
    fs::create_directories(root_);
    WriteGameFiles();
}

// The game's executable and a catalogue that names it.
void GameFolder::WriteGameFiles() {
    const bool nightwatch = edition_ == Edition::Nightwatch;
    const std::string exe = nightwatch ? "nightwatch.exe" : "ashfall.exe";
    WriteText(exe, "MZ stand-in for the game's executable\r\n");
    Catalogue = {{"Info", {{"Run", exe}, {"VK", nightwatch ? "Vantorsk Ashfall: Nightwatch" : "Vantorsk Ashfall"}}}};
    WriteCatalogue();
}

std::string GameFolder::Folder() const {
    std::string text = PathText(root_);
    text += static_cast<char>(fs::path::preferred_separator);
    return text;
}

std::string GameFolder::PathOf(const std::string& relativeName) const {
    std::string native = relativeName;
    std::replace(native.begin(), native.end(), '\\', static_cast<char>(fs::path::preferred_separator));
    return PathText(root_ / SystemPath(native));  // in UTF-8, as the program takes paths
}

std::string GameFolder::CatalogueName() const { return edition_ == Edition::Nightwatch ? "nwinfo.dat" : "vskinfo.dat"; }

void GameFolder::WriteFile(const std::string& relativeName, const Bytes& bytes) const {
    const fs::path path = SystemPath(PathOf(relativeName));
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + PathText(path));
}

void GameFolder::WriteText(const std::string& relativeName, const std::string& text) const {
    WriteFile(relativeName, Bytes(text.begin(), text.end()));
}

Bytes GameFolder::ReadFile(const std::string& relativeName) const {
    std::ifstream in(SystemPath(PathOf(relativeName)), std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read " + relativeName);
    // In one read of its size: the fuzz targets read a game file several times for each input.
    Bytes bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()))
        throw std::runtime_error("cannot read " + relativeName);
    return bytes;
}

std::string GameFolder::ReadText(const std::string& relativeName) const {
    const Bytes bytes = ReadFile(relativeName);
    return std::string(bytes.begin(), bytes.end());
}

bool GameFolder::Exists(const std::string& relativeName) const { return fs::exists(SystemPath(PathOf(relativeName))); }

void GameFolder::Remove(const std::string& relativeName) const { fs::remove(SystemPath(PathOf(relativeName))); }

void GameFolder::MakeReadOnly(const std::string& relativeName) const {
    fs::permissions(SystemPath(PathOf(relativeName)),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

void GameFolder::WriteCatalogue() const { WriteText(CatalogueName(), IniText(Catalogue)); }

void GameFolder::SetCatalogueKey(const std::string& section, const std::string& key, const std::string& value) {
    auto owner =
        std::find_if(Catalogue.begin(), Catalogue.end(), [&](const IniSection& s) { return s.Name == section; });
    if (owner == Catalogue.end()) {
        Catalogue.push_back({section, {}});
        owner = Catalogue.end() - 1;
    }
    auto entry = std::find_if(owner->Keys.begin(), owner->Keys.end(), [&](const auto& k) { return k.first == key; });
    if (entry == owner->Keys.end()) {
        owner->Keys.emplace_back(key, value);
    } else {
        entry->second = value;
    }
    WriteCatalogue();
}

void GameFolder::SetCatalogueSection(const IniSection& section) {
    auto owner =
        std::find_if(Catalogue.begin(), Catalogue.end(), [&](const IniSection& s) { return s.Name == section.Name; });
    if (owner == Catalogue.end()) {
        Catalogue.push_back(section);
    } else {
        *owner = section;
    }
    WriteCatalogue();
}

void GameFolder::SetCatalogueNames(const std::string& section, const std::vector<std::string>& names) {
    IniSection replacement{section, {}};
    for (const std::string& name : names) replacement.Keys.emplace_back(name, "");
    SetCatalogueSection(replacement);
}

void GameFolder::AddShip(const std::string& name, const std::string& fileName, const Bytes& file) {
    WriteFile("Ships\\" + fileName, file);
    SetCatalogueKey("ships", name, fileName);
    SetSwitchEntry(name, name);
}

void GameFolder::SetSwitchEntry(const std::string& name, const std::string& value) {
    auto entry =
        std::find_if(SwitchEntries.begin(), SwitchEntries.end(), [&](const auto& e) { return e.first == name; });
    if (entry == SwitchEntries.end()) {
        SwitchEntries.emplace_back(name, value);
    } else {
        entry->second = value;
    }
    WriteText("Ships\\switch.dat", IniText({{"swships", SwitchEntries}}));
}

}  // namespace tovarin::demo
