#include "fleet_edits/planned_files.h"

#include <algorithm>

#include "gamefiles/whole_files.h"

namespace tovarin {

std::vector<std::uint8_t>& PlannedFiles::Of(const std::string& path) {
    if (const auto found = byPath_.find(path); found != byPath_.end()) return files_[found->second].Now;
    std::vector<std::uint8_t> bytes = ReadWholeFileReadOnly(path);
    files_.push_back({path, bytes, bytes});
    byPath_.emplace(path, files_.size() - 1);
    return files_.back().Now;
}

void PlannedFiles::AddTo(EditPlan& plan) const {
    for (const File& file : files_) {
        if (file.Now == file.Before) continue;
        std::string name = file.Path.starts_with(gameFolder_) ? file.Path.substr(gameFolder_.size()) : file.Path;
        std::replace(name.begin(), name.end(), '/', '\\');  // as the game's own names are written
        plan.Files.push_back({name, file.Path, file.Before, file.Now});
    }
}

}  // namespace tovarin
