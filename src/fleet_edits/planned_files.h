#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fleet_edits/edit_plan.h"

// The files a plan works on, each read once and then changed in memory value by value, so that two values of one
// file (two ships whose data one file holds, two weapons of a table) build on each other.
namespace tovarin {

class PlannedFiles {
public:
    explicit PlannedFiles(std::string gameFolder) : gameFolder_(std::move(gameFolder)) {}

    // The file's bytes as the plan has them so far; read from the file the first time. A file that cannot be read
    // fails with the file layer's error: the plan cannot be made then, as its preview could not be trusted.
    [[nodiscard]] std::vector<std::uint8_t>& Of(const std::string& path);

    // Every file whose bytes the plan changed, into the plan, in the order they were first read.
    void AddTo(EditPlan& plan) const;

private:
    struct File {
        std::string Path;
        std::vector<std::uint8_t> Before;
        std::vector<std::uint8_t> Now;
    };
    std::string gameFolder_;
    std::vector<File> files_;
    std::map<std::string, std::size_t> byPath_;
};

}  // namespace tovarin
