#include "fleet_edits/edit_plan.h"

#include "gamefiles/file_change_set.h"
#include "gamefiles/file_primitives.h"
#include "sheets/originals.h"
#include "sheets/refusal.h"

namespace tovarin {

std::string PlannedLine(const PlannedValue& value) {
    std::string line = value.Address.Name() + " " + value.Before + " -> " + value.After;
    if (!value.Note.empty()) line += " (" + value.Note + ")";
    return line;
}

std::vector<std::string> PreviewLines(const EditPlan& plan) {
    const std::size_t count = plan.Values.size();
    std::vector<std::string> lines{std::to_string(count) + (count == 1 ? " value changes" : " values change")};
    if (!plan.Refused.empty()) lines.back() += ", " + std::to_string(plan.Refused.size()) + " cannot";
    for (const PlannedValue& value : plan.Values) lines.push_back(PlannedLine(value));
    for (const RefusedValue& value : plan.Refused) lines.push_back(value.Message);
    return lines;
}

std::vector<std::string> ApplyEditPlan(const std::string& gameFolder, const EditPlan& plan) {
    FileChangeSet changes(gameFolder, "the " + plan.Name);
    for (const PlannedBytes& file : plan.Files) {
        if (!FileExists(file.Path) || BytesOf(file.Path) != file.Before) {
            throw Refusal(file.File + " was changed by another program since the " + plan.Name +
                          " was worked out: nothing was written");
        }
        changes.Replace(file.Path, file.After);
    }
    return changes.Commit();
}

}  // namespace tovarin
