#pragma once
// The subcommands of q7xctl, one source file each. Each adds itself to the program's command
// line; when it is chosen its callback runs it and leaves its exit status in `status`.
#include "cli/run.h"
#include "cli/usage.h"

#include <CLI/CLI.hpp>

namespace q7x::cli {

void addInfo(CLI::App &app, Run &run, Status &status);
void addRead(CLI::App &app, Run &run, Status &status);
void addWrite(CLI::App &app, Run &run, Status &status);
void addClone(CLI::App &app, Run &run, Status &status);
void addClock(CLI::App &app, Run &run, Status &status);
void addShow(CLI::App &app, Run &run, Status &status);
void addDiff(CLI::App &app, Run &run, Status &status);
void addCheck(CLI::App &app, Run &run, Status &status);
void addImport(CLI::App &app, Run &run, Status &status);
void addSet(CLI::App &app, Run &run, Status &status);
void addKeys(CLI::App &app, Run &run, Status &status);
void addPreset(CLI::App &app, Run &run, Status &status);
void addReport(CLI::App &app, Run &run, Status &status);

} // namespace q7x::cli
