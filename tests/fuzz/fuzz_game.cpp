#include "fuzz/fuzz_game.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo/demo_ships.h"
#include "gamefiles/folder_lock.h"
#include "gamefiles/originals_backup.h"
#include "gamefiles/profile_cache.h"
#include "gamefiles/whole_files.h"
#include "ui/platform.h"
#include "weapons/gun_record.h"
#include "weapons/missile_record.h"

namespace tovarin::fuzz {

std::vector<Bytes> Seeds(const std::vector<Bytes>& choices, const std::vector<Bytes>& files) {
    std::vector<Bytes> seeds;
    for (const Bytes& file : files) {
        for (Bytes seed : choices) {
            seed.insert(seed.end(), file.begin(), file.end());
            seeds.push_back(seed);
        }
    }
    return seeds;
}

std::vector<Bytes> DemoShipFiles() {
    std::vector<Bytes> files;
    for (const demo::DemoShip& ship : demo::DemoShips()) files.push_back(demo::BuildShip(ship.Plan).File);
    return files;
}

namespace {

Bytes BytesAt(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace fs = std::filesystem;

std::map<fs::path, ReusedGame*>& ReusedGames() {
    static auto& games = *new std::map<fs::path, ReusedGame*>;
    return games;
}

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The lines of the catalogue's sections a start reads before its loads (the game, the ships, the guns and the
// missiles), headers included: where these are the same, so is what the start reads from them.
std::string StartLists(const Bytes& catalogue) {
    static const std::set<std::string> kRead{"info", "ships", "guns", "missiles"};
    const std::string text(catalogue.begin(), catalogue.end());
    std::string lists;
    bool reading = false;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = std::min(text.find('\n', begin), text.size());
        const std::string line = text.substr(begin, end - begin);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line[first] == '[') {
            std::string name = line.substr(first + 1, line.find(']', first) - first - 1);
            name.erase(0, name.find_first_not_of(" \t"));
            name.erase(name.find_last_not_of(" \t\r") + 1);
            reading = kRead.contains(Lowered(name));
        }
        if (reading) lists += line + "\n";
        begin = end + 1;
    }
    return lists;
}

std::size_t runsOpen = 0;  // the program runs of the input that are still open: the next one's depth

KeptWindow* KeptWindowFor(const TempGameFolder& game) {
    ReusedGame* reused = ReusedGame::Of(game);
    return reused == nullptr ? nullptr : reused->Window(runsOpen);
}

// The outcome file and what the input being run did so far; no file, nothing kept.
struct Outcomes {
    std::ofstream File;
    std::string Text;
    std::vector<fs::path> Folders;
    bool InFull = std::getenv("TOVARIN_FUZZ_OUTCOMES_IN_FULL") != nullptr;  // the text after its hash
};

Outcomes* TheOutcomes() {
    static Outcomes* outcomes = [] {
        const char* name = std::getenv("TOVARIN_FUZZ_OUTCOMES");
        if (name == nullptr) return static_cast<Outcomes*>(nullptr);
        auto* made = new Outcomes;
        made->File.open(name, std::ios::app);
        return made;
    }();
    return outcomes;
}

// FNV-1a: enough to tell two outcomes apart in a comparison.
std::uint64_t Hash(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

// Every entry of the folder, sorted: its relative path, its kind, its mode, and a file's bytes or a link's target.
std::string FolderState(const fs::path& root) {
    std::vector<std::string> entries;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        const fs::file_status status = it->symlink_status(ignored);
        std::ostringstream entry;
        entry << it->path().lexically_relative(root).string() << ' ' << static_cast<int>(status.type()) << ' '
              << static_cast<int>(status.permissions()) << ' ';
        if (fs::is_symlink(status)) {  // named from the game folder, whose own name differs from run to run
            const std::string target = fs::read_symlink(it->path(), ignored).string();
            entry << (target.starts_with(root.string()) ? "<game>" + target.substr(root.string().size()) : target);
        }
        if (fs::is_regular_file(status)) {
            const Bytes bytes = BytesAt(it->path());
            entry << Hash(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
        entries.push_back(entry.str());
    }
    std::sort(entries.begin(), entries.end());
    std::string state;
    for (const std::string& entry : entries) state += entry + "\n";
    return state;
}

}  // namespace

void PutBackReusedGames() {
    for (const auto& [root, game] : ReusedGames()) game->PutBackTouched();
}

ReusedGame* ReusedGame::Of(const TempGameFolder& game) {
    const auto found = ReusedGames().find(game.Root());
    return found == ReusedGames().end() ? nullptr : found->second;
}

ReusedGame::ReusedGame(const std::function<void(TempGameFolder&)>& build)
    : watch_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    build(game_);
    built_[game_.Root()] = {true, {}, fs::status(game_.Root()).permissions()};
    for (const auto& entry : fs::recursive_directory_iterator(game_.Root())) {
        const fs::path& path = entry.path();
        if (entry.is_directory()) built_[path] = {true, {}, entry.status().permissions()};
        if (entry.is_regular_file()) built_[path] = {false, BytesAt(path), entry.status().permissions()};
    }
    NoteFolder(game_.Root());
    RemoveAtExit(game_.Root());
    Watch();
    ReusedGames()[game_.Root()] = this;
}

ReusedGame::~ReusedGame() {
    ReusedGames().erase(game_.Root());
    ::close(watch_);
}

void ReusedGame::Watch() {
    for (const auto& [wd, folder] : watched_) (void)inotify_rm_watch(watch_, wd);
    watched_.clear();
    constexpr std::uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO |
                                      IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_DONT_FOLLOW;
    for (const auto& [path, entry] : built_) {
        if (entry.IsFolder) watched_[inotify_add_watch(watch_, path.c_str(), kEvents)] = path;
    }
    (void)TakeChanges();
    touched_.clear();
}

bool ReusedGame::TakeChanges() {
    bool tracked = watch_ >= 0 && !watched_.contains(-1);
    alignas(inotify_event) char buffer[16384];
    for (ssize_t got; (got = ::read(watch_, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            at += sizeof(inotify_event) + event->len;
            const auto folder = watched_.find(event->wd);
            if ((event->mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0 ||
                folder == watched_.end()) {
                tracked = false;
                continue;
            }
            const fs::path path = event->len > 0 ? folder->second / event->name : folder->second;
            const auto found = built_.find(path);
            // A built folder's own entries are watched; one removed, moved or replaced is put back whole.
            if (found != built_.end() && found->second.IsFolder && path != folder->second &&
                (event->mask & (IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE)) != 0) {
                tracked = false;
            }
            touched_.insert(path);
        }
    }
    return tracked;
}

void ReusedGame::PutBack(const fs::path& path) {
    std::error_code ignored;
    const auto found = built_.find(path);
    const fs::file_status status = fs::symlink_status(path, ignored);
    if (found == built_.end() && path != fuzzed_) {
        fs::remove_all(path, ignored);
        return;
    }
    if (found != built_.end() && found->second.IsFolder) {
        fs::permissions(path, found->second.Mode, ignored);
        return;
    }
    const Bytes& wanted = path == fuzzed_ ? fuzzedBytes_ : found->second.Content;
    if (!fs::is_regular_file(status) || BytesAt(path) != wanted) {
        if (fs::exists(status) && !fs::is_regular_file(status)) fs::remove_all(path, ignored);
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        WriteBytes(path, wanted);
    }
    const fs::perms mode = found != built_.end() ? found->second.Mode : fs::perms(0644);
    if (fs::status(path, ignored).permissions() != mode) fs::permissions(path, mode, ignored);
}

void ReusedGame::PutBackEverything() {
    std::vector<fs::path> added;
    for (auto it = fs::recursive_directory_iterator(game_.Root()); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        const auto found = built_.find(path);
        const bool isFolder = it->is_directory() && !it->is_symlink();
        const bool known = found != built_.end() ? found->second.IsFolder == isFolder : path == fuzzed_;
        if (known) continue;
        added.push_back(path);
        if (isFolder) it.disable_recursion_pending();
    }
    for (const fs::path& path : added) fs::remove_all(path);
    for (const auto& [path, entry] : built_) {
        if (entry.IsFolder) fs::create_directories(path);
    }
    for (const auto& [path, entry] : built_) PutBack(path);
    PutBack(fuzzed_);
    Watch();
}

TempGameFolder& ReusedGame::Reset(const std::string& relative, const Bytes& file) {
    const fs::path fuzzed = game_.PathOf(relative);
    const bool tracked = TakeChanges();
    // The last input's fuzzed file goes back to what was built (or goes), the new one comes.
    touched_.insert(fuzzed_);
    if (fuzzed != fuzzed_ || file != fuzzedBytes_) touched_.insert(fuzzed);
    fuzzed_ = fuzzed;
    fuzzedBytes_ = file;
    PutBackTouchedIf(tracked);
    return game_;
}

void ReusedGame::PutBackTouched() { PutBackTouchedIf(TakeChanges()); }

void ReusedGame::PutBackTouchedIf(bool tracked) {
    if (tracked && !lostTrack_) {
        for (const fs::path& path : touched_) {
            if (!path.empty()) PutBack(path);
        }
        (void)TakeChanges();  // the put-back's own writes
        touched_.clear();
    } else {
        PutBackEverything();
    }
    lostTrack_ = false;
}

bool ReusedGame::StartsAsBuilt() {
    if (!TakeChanges()) lostTrack_ = true;
    if (lostTrack_) return false;
    const fs::path catalogue = game_.PathOf(game_.CatalogueName());
    for (const fs::path& path : touched_) {
        if (path.empty() || path == fuzzed_) continue;
        const std::string relative = Lowered(fs::relative(path, game_.Root()).generic_string());
        const bool readByLoads = (relative.starts_with("ships/") && relative.ends_with(".iff")) ||
                                 relative == Lowered(game_.PathOf(kGunTableFile).substr(game_.Folder().size())) ||
                                 relative == Lowered(game_.PathOf(kMissileTableFile).substr(game_.Folder().size()));
        // A start takes the folder's lock, whose file stays; it reads no profile and no kept original.
        if (!IsOurTemporary(path.filename().string()) &&
            (readByLoads || relative == Lowered(kFolderLockName) || relative.ends_with(".vks") ||
             (relative + "/").starts_with(Lowered(kBackupFolderName) + "/"))) {
            continue;
        }
        if (path == catalogue) {
            if (StartLists(BytesAt(catalogue)) != startLists_) return false;
            continue;
        }
        const auto found = built_.find(path);
        std::error_code ignored;
        const fs::file_status status = fs::symlink_status(path, ignored);
        if (found == built_.end()) {
            if (fs::exists(status)) return false;
            continue;
        }
        if (found->second.IsFolder ? !fs::is_directory(status)
                                   : !fs::is_regular_file(status) || BytesAt(path) != found->second.Content) {
            return false;
        }
    }
    return true;
}

KeptWindow* ReusedGame::Window(std::size_t depth) {
    static const bool fresh = std::getenv("TOVARIN_FUZZ_FRESH_WINDOW") != nullptr;
    if (fresh) return nullptr;
    constexpr std::size_t kWindows = 2;  // a run and the one that loads what it saved
    if (depth == 0) {
        bool made = false;
        windows_.resize(kWindows);
        std::vector<std::string> emptied{game_.PathOf(kGunTableFile), game_.PathOf(kMissileTableFile)};
        for (const auto& [path, entry] : built_) {
            if (!entry.IsFolder && path.parent_path() == game_.Root() / "Ships" && path.extension() == ".iff")
                emptied.push_back(path.string());
        }
        for (std::unique_ptr<KeptWindow>& window : windows_) {
            if (window && !window->Ended) continue;
            window.reset();
            window = std::make_unique<KeptWindow>(game_.Folder(), emptied);
            made = true;
        }
        if (made) {
            PutBackTouched();
            startLists_ = StartLists(BytesAt(game_.PathOf(game_.CatalogueName())));
        }
    }
    if (depth >= windows_.size() || !windows_[depth] || windows_[depth]->Ended || !StartsAsBuilt()) return nullptr;
    return windows_[depth].get();
}

TempGameFolder& ReusedGameWithShip(const Bytes& file) {
    static ReusedGame& game = *new ReusedGame([](TempGameFolder& built) {
        demo::AddDemoWeapons(built);
        built.AddShip("Test", "test.iff", DemoShipFiles().front());
    });
    return game.Reset("Ships\\test.iff", file);
}

void Require(bool kept, const char* promise, const ProgramRun* run) {
    if (kept) return;
    std::fprintf(stderr, "Broken promise: %s\n", promise);
    if (run != nullptr) {
        for (const auto& box : run->Platform.Boxes) std::fprintf(stderr, "  box shown: %s\n", box.text.c_str());
    }
    __builtin_trap();
}

ProgramRun::ProgramRun(const TempGameFolder& game)
    : kept_(KeptWindowFor(game)),
      fresh_(kept_ != nullptr ? nullptr : std::make_unique<Fresh>(game)),
      app_(kept_ != nullptr ? kept_->App : fresh_->App),
      Platform(kept_ != nullptr ? kept_->Platform : fresh_->Platform) {
    ++runsOpen;
    if (kept_ != nullptr) {
        kept_->Start();
        Ended = kept_->Ended;
    } else {
        Ended = app_.Start().has_value();
    }
    StartBoxes = Platform.Boxes.size();
}

ProgramRun::~ProgramRun() {
    for (const auto& box : Platform.Boxes) NoteOutcome(box.text);
    NoteOutcome(Ended ? "ended" : "running");
    --runsOpen;
    if (kept_ == nullptr) {
        ForgetKeptOriginals();  // the program that ends takes the hook away
        return;
    }
    if (Ended) {
        kept_->Ended = true;  // made anew for the next input
    } else {
        kept_->PutBack();
    }
}

std::size_t ProgramRun::Act(const std::function<void()>& action) {
    if (Ended) return 1;
    const std::size_t before = Platform.Boxes.size();
    try {
        action();
    } catch (const ProgramEnded&) {
        Ended = true;
        return 1;
    }
    return Platform.Boxes.size() - before;
}

void SaveShipAndCheck(ProgramRun& run, const TempGameFolder& game, const std::string& shipFile, bool loadedWhole) {
    const Bytes before = game.ReadFile(shipFile);
    const int ship = run.Form().ComboBox1.ItemIndex();
    const std::size_t shown = run.Act([&] { UserInput::Click(run.Form().Button2); });
    Require(game.Exists(shipFile), "a ship save never loses the ship file", &run);
    const Bytes after = game.ReadFile(shipFile);
    if (shown > 0) Require(after == before, "a ship save that shows a box leaves the ship file unchanged", &run);
    if (shown > 0 || !loadedWhole || after == before) return;
    ProgramRun again(game);
    const std::size_t shownAtLoad = again.Act([&] { UserInput::Choose(again.Form().ComboBox1, ship); });
    Require(again.StartedClean() && shownAtLoad == 0, "every saved ship loads again", &again);
}

void RemoveAtExit(const fs::path& folder) {
    static std::vector<fs::path>& folders = *new std::vector<fs::path>;
    if (folders.empty()) {
        std::atexit([] {
            std::error_code ignored;
            for (const fs::path& each : folders) {
                for (const auto& entry : fs::recursive_directory_iterator(each, ignored)) {
                    if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
                        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
                }
                fs::remove_all(each, ignored);
            }
        });
    }
    folders.push_back(folder);
}

void NoteFolder(const fs::path& folder) {
    if (Outcomes* outcomes = TheOutcomes()) outcomes->Folders.push_back(folder);
}

void NoteOutcome(const std::string& text) {
    if (Outcomes* outcomes = TheOutcomes()) outcomes->Text += text + "\n";
}

}  // namespace tovarin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tovarin::fuzz;
    Outcomes* outcomes = TheOutcomes();
    if (outcomes != nullptr) outcomes->Text.clear();
    const int result = TestOneInput(data, size);
    // Each input starts the program as the first did, without copies of INI files read by the one before; and what
    // the input allocated is freed by its end, so that libFuzzer's leak check does not run it a second time.
    tovarin::ForgetEveryProfile();
    if (outcomes != nullptr) {
        for (const std::filesystem::path& folder : outcomes->Folders) outcomes->Text += FolderState(folder);
        outcomes->File << std::hex << Hash(std::string_view(reinterpret_cast<const char*>(data), size)) << ' '
                       << Hash(outcomes->Text) << std::endl;
        if (outcomes->InFull) outcomes->File << outcomes->Text << "\n";
    }
    PutBackReusedGames();
    return result;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* folder = std::getenv("TOVARIN_FUZZ_SEEDS");
    if (folder == nullptr) return 0;
    std::filesystem::create_directories(folder);
    int number = 0;
    for (const tovarin::fuzz::Bytes& seed : tovarin::fuzz::FuzzSeeds())
        tovarin::fuzz::WriteBytes(std::filesystem::path(folder) / ("seed-" + std::to_string(++number)), seed);
    std::exit(0);
}
