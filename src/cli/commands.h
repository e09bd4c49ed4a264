#pragma once

// The subcommands of stirpex-cli, each in its own file.

#include "cli/command.h"

namespace stirpex::cli {

int RunStatsCommand(const CommandInput& in);
int RunDumpCommand(const CommandInput& in);
int RunPageCommand(const CommandInput& in);
int RunNamesCommand(const CommandInput& in);
int RunStoryCommand(const CommandInput& in);
int RunTreeCommand(const CommandInput& in);
int RunCheckCommand(const CommandInput& in);
int RunRelationCommand(const CommandInput& in);
int RunSearchCommand(const CommandInput& in);
// Built into the program alone, with Qt's GUI library (cli/chart_command_qt.cpp).
int RunChartCommand(const CommandInput& in);

} // namespace stirpex::cli
