// Mods as a player downloads them, on the demo installation: a mod folder's mod.ini and three sheets, and
// "Tovarin Mods"' load order.ini and applied.dat, each any bytes; the mod folder, a sheet or mod.ini may also be a
// link out of the folder or a pipe. The mods are listed, checked, planned over the game and described, as every
// command does. Beside the sanitizers' promises: nothing outside the mod and "Tovarin Mods" is opened, read or
// written (watched with inotify), nothing hangs, and a mod's texts come out without control characters.
// Choices: [0] bit 0 the mod folder a link, bit 1 ships.csv a link, bit 2 mod.ini a pipe, bit 3 the apply drops
// the player's own changes.
// The game is built once per process; an input rewrites only the files that differ from the last input's.
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>

#include "fuzz/fuzz_game.h"
#include "gamefiles/text_encoding.h"
#include "mods/applied_record.h"
#include "mods/load_order.h"
#include "mods/mod_installation.h"
#include "sheets/refusal.h"
#include "testkit/text_files.h"

namespace {

using namespace tovarin;
using namespace tovarin::fuzz;
namespace fs = std::filesystem;

// Between the input's files: a byte sequence no sheet or INI file needs.
constexpr std::string_view kSeparator = "\n\x1d\n";
constexpr std::array<const char*, 6> kFiles = {"m/mod.ini",      "m/ships.csv",    "m/guns.csv",
                                               "m/missiles.csv", "load order.ini", "applied.dat"};

// The demo game, a folder outside it that a link may point to, and the watches on both.
struct Setup {
    Setup() : game(), installation(FleetOf(OpenInstallation(game.Folder()))) {
        mods = fs::path(installation.ModsFolder());
        outside = fs::path(game.PathOf("Outside"));
        fs::create_directories(outside);
        for (const char* name : {"mod.ini", "ships.csv"})
            testkit::WriteTextFile(outside / name, "ship,hp\r\nKestrel,1\r\n");
        watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        for (const fs::path& folder :
             {outside, fs::path(game.Folder()), fs::path(game.PathOf("Ships")), fs::path(game.PathOf("Game"))}) {
            watched[inotify_add_watch(
                watch, folder.c_str(),
                IN_ACCESS | IN_OPEN | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVED_TO | IN_ATTRIB)] = folder.filename();
        }
        Drain();
        NoteFolder(game.Root());
        RemoveAtExit(game.Root());
    }

    // The entries touched since the last call, other than "Tovarin Mods" itself, each with its folder and what
    // was done to it (the inotify mask).
    std::vector<std::string> Drain() const {
        std::vector<std::string> touched;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                const std::string name = event->len > 0 ? event->name : "(the folder itself)";
                const auto folder = watched.find(event->wd);
                if (name != kModsFolderName)
                    touched.push_back(name + " in " + (folder == watched.end() ? "?" : folder->second.string()) +
                                      " (mask " + std::to_string(event->mask) + ")");
                at += sizeof(inotify_event) + event->len;
            }
        }
        return touched;
    }

    testkit::TempGameFolder game;
    ModInstallation installation;
    fs::path mods;
    fs::path outside;
    int watch = -1;
    std::map<int, fs::path> watched;             // the folders watched, by their watch
    std::map<std::string, std::string> written;  // what each file holds now, "@link" or "@pipe" for the others
};

Setup& Once() {
    static Setup& setup = *new Setup;
    return setup;
}

// Puts the file (or a link, or a pipe) in place unless it is there already.
void Put(Setup& s, const std::string& name, const std::string& content) {
    std::string& now = s.written[name];
    if (now == content && (content.empty() || fs::exists(fs::symlink_status(s.mods / name)))) return;
    const fs::path path = s.mods / name;
    std::error_code ignored;
    fs::remove(path, ignored);
    if (content == "@link") {
        fs::create_symlink(s.outside / path.filename(), path, ignored);
    } else if (content == "@pipe") {
        (void)::mkfifo(path.c_str(), 0644);
    } else if (!content.empty()) {
        testkit::WriteTextFile(path, content);
    }
    now = content;
}

void PutModFolder(Setup& s, bool linked) {
    const fs::path folder = s.mods / "m";
    const bool isLink = fs::is_symlink(fs::symlink_status(folder));
    if (isLink == linked && fs::exists(fs::symlink_status(folder))) return;
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    // Only the mod's own files went: "load order.ini" and "applied.dat" beside it stay, and so does what they hold.
    std::erase_if(s.written, [](const auto& file) { return file.first.starts_with("m/"); });
    fs::create_directories(s.mods);
    if (linked) {
        fs::create_directory_symlink(s.outside, folder, ignored);
    } else {
        fs::create_directories(folder);
    }
}

void RequireNoControls(const std::string& text, const char* promise) {
    const std::string shown = ShownText(text);
    for (const char c : shown) Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, promise);
}

}  // namespace

std::vector<Bytes> tovarin::fuzz::FuzzSeeds() {
    const std::string files[] = {"[Mod]\r\nName=Faster Fighters\r\nVersion=1.0\r\nGame=Vantorsk Ashfall\r\n",
                                 "ship,speedmax,hp\r\nKestrel,640,\r\nWarden,,500\r\n",
                                 "gun,damage\r\nPulse Laser,41\r\n",
                                 "missile,speed\r\nDart,900\r\n",
                                 "[Load order]\r\nm=on\r\n",
                                 "kind,name,key,value\r\nship,Kestrel,speedmax,640\r\n"};
    std::string joined;
    for (const std::string& file : files) joined += (joined.empty() ? "" : std::string(kSeparator)) + file;
    return Seeds({{0}, {1}, {2}, {4}}, {Bytes(joined.begin(), joined.end())});
}

int tovarin::fuzz::TestOneInput(const std::uint8_t* data, std::size_t size) {
    Setup& s = Once();
    const Input input(data, size, 1);
    const std::string text(input.File.begin(), input.File.end());
    PutModFolder(s, (input.Choices[0] & 1) != 0);
    std::size_t start = 0;
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        const std::size_t end = std::min(text.find(kSeparator, start), text.size());
        std::string content = start <= text.size() ? text.substr(start, end - start) : "";
        if (i == 1 && (input.Choices[0] & 2) != 0) content = "@link";
        if (i == 0 && (input.Choices[0] & 4) != 0) content = "@pipe";
        if ((input.Choices[0] & 1) == 0 || i >= 4) Put(s, kFiles[i], content);
        start = end + kSeparator.size();
    }
    (void)s.Drain();  // the fuzzer's own writes

    try {
        std::vector<Mod> mods = InstalledMods(s.mods.string());
        const std::vector<ModValues> values = CheckMods(s.installation, mods);
        for (const Mod& mod : mods) {
            NoteOutcome(mod.Entry + ": " + mod.Problem);
            RequireNoControls(mod.Info.Name + mod.Info.Version + mod.Info.Author + mod.Info.Description + mod.Problem,
                              "a mod's texts come out without control characters");
        }
        const ApplyPlan plan = s.installation.PlanApply(SwitchedOn(mods, values), (input.Choices[0] & 8) != 0);
        for (const std::string& line : ApplyReport(plan, false)) NoteOutcome(line);
    } catch (const Exception& error) {  // a load order or record that cannot be read is refused naming it
        NoteOutcome(error.Message());
    } catch (const Refusal& refusal) {
        NoteOutcome(refusal.what());
    }
    try {
        (void)ReadAppliedRecord((s.mods / kAppliedFileName).string());
    } catch (const Exception&) {
    }
    const std::vector<std::string> touched = s.Drain();
    for (const std::string& entry : touched) std::fprintf(stderr, "touched: %s\n", entry.c_str());
    Require(touched.empty(), "nothing outside the mod and \"Tovarin Mods\" is opened, read or written");
    return 0;
}
