#include "mods/load_order.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>

#include "gamefiles/case_fold.h"
#include "gamefiles/errors.h"
#include "gamefiles/file_handle.h"
#include "gamefiles/file_primitives.h"
#include "gamefiles/folders.h"
#include "gamefiles/plain_files.h"
#include "gamefiles/profile_text.h"
#include "gamefiles/text_encoding.h"
#include "gamefiles/whole_files.h"
#include "mods/applied_record.h"
#include "mods/mod_limits.h"
#include "mods/mod_making.h"
#include "mods/mod_names.h"

namespace tovarin {

namespace {

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A name as the load order matches it: SameModName's a and b are the same when their keys are.
std::string ModNameKey(const std::string& name) { return FoldedCase(name); }

// Far beyond the load order of any player's mods; a larger one is no load order.
constexpr std::uint64_t kMaxLoadOrderBytes = 16ull << 20;

}  // namespace

// A name typed in a UTF-8 terminal matches one that mod.ini or the folder holds in Windows-1252, and the other way.
bool SameModName(const std::string& a, const std::string& b) { return ModNameKey(a) == ModNameKey(b); }

// Read once and looked up in memory, so that a load order of thousands of entries takes no longer than their count.
std::vector<LoadOrderEntry> ReadLoadOrder(const std::string& path) {
    std::vector<LoadOrderEntry> entries;
    if (EntryTypeAt(path) == EntryType::Missing) return entries;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadPlainFile(path, kMaxLoadOrderBytes);
    } catch (const Exception& error) {
        throw Exception(path + " " + error.Message());
    }
    const ProfileIndex file(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const IniEntries values = file.Entries(kLoadOrderSection);
    std::unordered_set<std::string> listed;
    for (const std::string& key : file.ListKeys(kLoadOrderSection)) {
        if (!listed.insert(ModNameKey(key)).second) continue;
        const auto value = values.find(ProfileNameKey(key));
        const std::string state =
            value == values.end() || !value->second ? "" : LowerCase(std::string(UnquotedProfileValue(*value->second)));
        entries.push_back({key, state == "on" || state == "1" || state == "yes" || state == "true"});
    }
    return entries;
}

std::string LoadOrderText(const std::vector<LoadOrderEntry>& entries) {
    std::string text =
        "; The order in which Tovarin lays the mods of this folder over the game's original files, each on or off.\r\n"
        "; A later mod's value wins over an earlier one's.\r\n";
    text += std::string("[") + kLoadOrderSection + "]\r\n";
    // In UTF-8 throughout, whichever encoding a person wrote an entry in.
    for (const LoadOrderEntry& entry : entries) {
        text += ShownText(entry.Entry) + "=" + (entry.On ? "on" : "off") + "\r\n";
    }
    return text;
}

namespace {

// The mods in the folder, in the order of their names, each off.
std::vector<Mod> FoundMods(const std::string& modsFolder) {
    if (EntryTypeAt(modsFolder) == EntryType::Link)
        throw Exception(modsFolder + " " + EntryTypeProblem(EntryType::Link));
    std::vector<Mod> found;
    for (const FolderEntry& entry : ListFolder(modsFolder)) {
        if (std::optional<Mod> mod = ReadMod(PathIn(modsFolder, entry.Name), entry.Name, false)) {
            found.push_back(std::move(*mod));
        }
    }
    return found;
}

}  // namespace

std::vector<Mod> InstalledMods(const std::string& modsFolder, bool readSheets) {
    std::vector<Mod> found = FoundMods(modsFolder);
    std::unordered_map<std::string, std::size_t> byName;  // each found mod's place by its entry's key
    for (std::size_t i = 0; i < found.size(); ++i) byName.emplace(ModNameKey(found[i].Entry), i);
    std::vector<Mod> ordered;
    std::vector<bool> taken(found.size(), false);
    for (const LoadOrderEntry& listed : ReadLoadOrder(PathIn(modsFolder, kLoadOrderFileName))) {
        const auto mod = byName.find(ModNameKey(listed.Entry));
        if (mod == byName.end() || taken[mod->second]) {
            // Kept, so that the values it set do not leave the game unnoticed: renamed by an update, or removed.
            if (mod == byName.end()) ordered.push_back(MissingMod(listed));
            continue;
        }
        taken[mod->second] = true;
        found[mod->second].On = listed.On;
        ordered.push_back(std::move(found[mod->second]));
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (!taken[i]) ordered.push_back(std::move(found[i]));
    }
    // A switched-off mod is shown from its mod.ini and its sheets' sizes; its sheets are read only when they are
    // small enough to say at once what it changes, so that a huge one cannot hold up every mods command.
    for (Mod& mod : ordered) {
        if (readSheets && (mod.On || mod.SheetBytes <= kMaxOffModReadBytes)) ReadModSheets(mod);
    }
    return ordered;
}

void WriteLoadOrder(const std::string& modsFolder, const std::vector<Mod>& mods) {
    std::vector<LoadOrderEntry> entries;
    for (const Mod& mod : mods) entries.push_back({mod.Entry, mod.On});
    const std::string text = Utf8FileBytes(LoadOrderText(entries));
    CreateFolder(modsFolder);
    ReplaceWholeFile(PathIn(modsFolder, kLoadOrderFileName), std::vector<std::uint8_t>(text.begin(), text.end()));
}

void CheckListable(const std::string& entry) {
    if (const std::string problem = ModNameProblem(entry); !problem.empty()) throw Exception(problem);
}

bool ModsInPlay(const std::string& modsFolder) {
    if (EntryTypeAt(PathIn(modsFolder, kAppliedFileName)) != EntryType::Missing) return true;
    try {
        const std::vector<Mod> mods = InstalledMods(modsFolder, false);
        return std::any_of(mods.begin(), mods.end(), [](const Mod& mod) { return mod.On; });
    } catch (const Exception&) {  // a load order that cannot be read may switch any mod on
        return true;
    }
}

void SwitchEveryModOff(const std::string& modsFolder, FileChangeSet& changes) {
    std::vector<Mod> mods;
    try {
        mods = InstalledMods(modsFolder, false);
    } catch (const Exception&) {  // a load order that cannot be read is written anew
        mods = FoundMods(modsFolder);
    }
    // Nothing Tovarin wrote: it goes before the change would read it.
    RemoveUnlessPlain(PathIn(modsFolder, kLoadOrderFileName));
    RemoveUnlessPlain(PathIn(modsFolder, kAppliedFileName));
    std::vector<LoadOrderEntry> entries;
    for (const Mod& mod : mods) entries.push_back({mod.Entry, false});
    const std::string text = Utf8FileBytes(LoadOrderText(entries));
    if (!mods.empty()) changes.Replace(PathIn(modsFolder, kLoadOrderFileName), {text.begin(), text.end()});
    changes.Remove(PathIn(modsFolder, kAppliedFileName));
}

std::size_t ModNamed(const std::vector<Mod>& mods, const std::string& name) {
    std::vector<std::size_t> named;
    std::vector<std::size_t> byEntry;
    for (std::size_t i = 0; i < mods.size(); ++i) {
        if (SameModName(mods[i].Entry, name)) byEntry.push_back(i);
        if (SameModName(mods[i].Info.Name, name) || SameModName(mods[i].Entry, name)) named.push_back(i);
    }
    if (named.empty()) throw Exception("No mod named " + name + " in \"" + kModsFolderName + "\"");
    if (named.size() == 1) return named.front();
    if (byEntry.size() == 1) return byEntry.front();  // a folder's name tells two mods of one Name apart
    std::string both;
    for (const std::size_t i : named) both += (both.empty() ? "" : ", ") + ShownModName(mods, i);
    throw Exception(name + " names more than one mod: " + both + "; name one by its folder");
}

Mod MissingMod(const LoadOrderEntry& listed) {
    Mod mod{listed.Entry, {listed.Entry, "", "", "", ""}, {}, "", listed.On, true};
    mod.Problem = "missing: \"" + std::string(kModsFolderName) + "\\" + listed.Entry +
                  "\" is not there (renamed by an update, or removed?)";
    return mod;
}

std::string ShownModName(const std::vector<Mod>& mods, std::size_t index) {
    const Mod& mod = mods.at(index);
    for (std::size_t i = 0; i < mods.size(); ++i) {
        if (i != index && SameModName(mods[i].Info.Name, mod.Info.Name)) return mod.Info.Name + " (" + mod.Entry + ")";
    }
    return mod.Info.Name;
}

void RefuseMissingMods(const std::vector<Mod>& mods) {
    std::string missing;
    for (const Mod& mod : mods) {
        if (mod.Missing) missing += (missing.empty() ? "" : ", ") + mod.Entry;
    }
    if (missing.empty()) return;
    throw Exception("\"" + std::string(kLoadOrderFileName) + "\" lists mods that are not in \"" + kModsFolderName +
                    "\": " + missing +
                    ". Nothing was changed: put them back, or take them out of the load order (\"mods remove\")");
}

}  // namespace tovarin
