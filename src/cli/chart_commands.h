#pragma once

#include "cli/commands.h"

// "chart ships|guns|missiles|why" (chart_commands.cpp).
namespace tovarin::cli {

int ChartShips(const CommandArguments& arguments, Console& console);
int ChartGuns(const CommandArguments& arguments, Console& console);
int ChartMissiles(const CommandArguments& arguments, Console& console);
int ChartWhy(const CommandArguments& arguments, Console& console);

}  // namespace tovarin::cli
