#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cli_run.h"
#include "testkit/fault_walk_core.h"

// The fault walks (testkit/fault_walk_core.h) of a command of the command line.
namespace tovarin::testkit {

// A command of the fault walks. Each command starts the program anew; the start after a
// failure is a command that only looks ("backup status"), which puts back what a failed command left first.
class CliSession : public WalkSession {
public:
    CliSession(std::string folder, std::vector<std::string> command)
        : folder_(std::move(folder)), command_(std::move(command)) {
        EXPECT_EQ(Cli(folder_, {"backup", "status"}).Exit, 0);
    }
    bool Act() override {
        const Ran ran = Cli(folder_, command_);
        return ran.Exit != 0 && !ran.Err.empty();
    }

private:
    std::string folder_;
    std::vector<std::string> command_;
};

inline int WalkCommandFaults(const std::string& name, const PrepareFolder& prepare,
                             const std::vector<std::string>& command) {
    return WalkFaultsOf(
        name, prepare, [&command](const std::string& folder) { return std::make_unique<CliSession>(folder, command); });
}

}  // namespace tovarin::testkit
