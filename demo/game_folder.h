#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "demo/bytes.h"

namespace tovarin::demo {

// An INI file written as text, sections and keys in the order given, lines ended by CR LF.
struct IniSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
};
[[nodiscard]] std::string IniText(const std::vector<IniSection>& sections);

enum class Edition { Base, Nightwatch };

// A game installation in a folder: the game's executable and a catalogue naming it, plus whatever ships, tables,
// archives and INI files the demo or a test adds. Files are named with backslashes as the program names
// them ("Ships\switch.dat"); missing folders are created.
class GameFolder {
public:
    // In the given folder, created when missing.
    GameFolder(const std::filesystem::path& folder, Edition edition);
    virtual ~GameFolder() = default;
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    // The game folder with its trailing separator, as the program's platform reports it.
    [[nodiscard]] std::string Folder() const;
    [[nodiscard]] const std::filesystem::path& Root() const { return root_; }
    // The native path of a file in the folder.
    [[nodiscard]] std::string PathOf(const std::string& relativeName) const;
    [[nodiscard]] std::string CatalogueName() const;

    void WriteFile(const std::string& relativeName, const Bytes& bytes) const;
    void WriteText(const std::string& relativeName, const std::string& text) const;
    [[nodiscard]] Bytes ReadFile(const std::string& relativeName) const;
    [[nodiscard]] std::string ReadText(const std::string& relativeName) const;
    [[nodiscard]] bool Exists(const std::string& relativeName) const;
    void Remove(const std::string& relativeName) const;
    // Clears every write-permission bit, as Windows marks a file read-only.
    void MakeReadOnly(const std::string& relativeName) const;

    // The catalogue's sections; WriteCatalogue() writes them out (the constructor writes the Info section).
    std::vector<IniSection> Catalogue;
    void WriteCatalogue() const;
    // Sets or adds a key of a catalogue section (the section is added at the end when new) and writes it out.
    void SetCatalogueKey(const std::string& section, const std::string& key, const std::string& value);
    // Replaces (or adds at the end) a whole catalogue section and writes the catalogue out.
    void SetCatalogueSection(const IniSection& section);
    // A section of names whose values the program never reads, such as "Guns" and "Missiles".
    void SetCatalogueNames(const std::string& section, const std::vector<std::string>& names);

    // Adds a ship: the catalogue's "ships" entry (display name = file under Ships\), the ship file, and the
    // ship's identity entry in the switch file.
    void AddShip(const std::string& name, const std::string& fileName, const Bytes& file);
    // The switch file's "swships" section; SetSwitchEntry sets or adds an entry and writes Ships\switch.dat.
    std::vector<std::pair<std::string, std::string>> SwitchEntries;
    void SetSwitchEntry(const std::string& name, const std::string& value);

private:
    void WriteGameFiles();

    std::filesystem::path root_;
    Edition edition_;
};

}  // namespace tovarin::demo
