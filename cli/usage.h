#pragma once
// The command line checked before the parser takes it, so that every mistake is said in the
// interface language and a typo gets the nearest command or option; and the help of the program
// or of one command (`q7xctl help write`, `q7xctl write --help`), printed without asking for the
// command's required options.
#include "cli/run.h"

#include <CLI/CLI.hpp>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace q7x::cli {

// The only values an option takes; the usage check names them when another is given.
void allowOnly(CLI::Option *option, const QStringList &values);

// Ends a command's help with the exit statuses it can return; `done` and `one` say what 0 and 1
// mean for it.
void listStatuses(CLI::App *command, std::initializer_list<Status> statuses, const char *done,
                  const char *one = nullptr);

// Sets the common options of `run` the arguments give (--lang, -q, -v, and --json of a command)
// and loads the messages of the interface language. Nothing when the arguments can be parsed and
// run; otherwise the exit status, with the mistake said, or the help or `version` printed.
std::optional<Status> checkUsage(Run &run, const CLI::App &app,
                                 const std::vector<std::string> &args, const QString &version);

// The candidate closest to `word` when it is close enough to be what was meant; empty otherwise.
QString nearest(const QString &word, const QStringList &candidates);

} // namespace q7x::cli
