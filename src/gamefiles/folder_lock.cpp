#include "gamefiles/folder_lock.h"

#include <algorithm>
#include <map>
#include <optional>
#include <thread>
#include <utility>

#include "gamefiles/errors.h"

namespace tovarin {

namespace {

struct HeldLock {
    std::intptr_t File = -1;  // -1: the folder could not be locked, and is gone on without
    int Holders = 0;
};

std::map<std::string, HeldLock>& Held() {
    static std::map<std::string, HeldLock> held;
    return held;
}

std::chrono::milliseconds& Wait() {
    static std::chrono::milliseconds wait = kFolderLockWait;
    return wait;
}

// Tries again and again, with pauses growing from 5 to 100 ms, until the wait is over.
std::intptr_t LockWithin(const std::string& path) {
    const std::intptr_t file = OpenLockFile(path);
    if (file < 0) return file;
    const auto end = std::chrono::steady_clock::now() + Wait();
    std::chrono::milliseconds pause{5};
    while (!TryLockFile(file)) {
        if (std::chrono::steady_clock::now() >= end) {
            CloseLockFile(file);
            throw Exception(kFolderBusyText);
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds{100});
    }
    return file;
}

struct Session {
    std::string Folder;
    int Actions = 0;
    std::optional<GameFolderLock> TakenByAChange;
};

Session& TheSession() {
    // A change's lock held as the program ends goes back into the table of held locks when the session is destroyed,
    // so the table is made first: statics are destroyed in the reverse order of their making.
    (void)Held();
    static Session session;
    return session;
}

}  // namespace

void SetFolderLockWait(std::chrono::milliseconds wait) { Wait() = wait; }

GameFolderLock::GameFolderLock(const std::string& gameFolder) : key_(gameFolder + kFolderLockName) {
    HeldLock& held = Held()[key_];
    if (held.Holders == 0) {
        try {
            held.File = LockWithin(key_);
        } catch (...) {
            Held().erase(key_);
            throw;
        }
    }
    ++held.Holders;
}

GameFolderLock::~GameFolderLock() {
    const auto found = Held().find(key_);
    if (found == Held().end() || --found->second.Holders > 0) return;
    if (found->second.File >= 0) CloseLockFile(found->second.File);
    Held().erase(found);
}

std::string GuardGameFolder(const std::string& gameFolder) {
    Session& session = TheSession();
    session.TakenByAChange.reset();
    return std::exchange(session.Folder, gameFolder);
}

void LockBeforeChange(const std::string& path) {
    Session& session = TheSession();
    if (session.Folder.empty() || !path.starts_with(session.Folder) || session.TakenByAChange) return;
    if (Held().contains(session.Folder + kFolderLockName)) return;  // an outer holder keeps it for the whole action
    session.TakenByAChange.emplace(session.Folder);
}

FolderAction::FolderAction() { ++TheSession().Actions; }

FolderAction::~FolderAction() {
    Session& session = TheSession();
    if (--session.Actions == 0) session.TakenByAChange.reset();
}

}  // namespace tovarin
