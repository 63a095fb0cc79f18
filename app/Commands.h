// The sub-commands of the kavel program. Each registers itself on the CLI11 application; the
// command that ran leaves its exit code for main to return.
#pragma once

#include <CLI/CLI.hpp>

namespace kavel::app {

void RegisterCommands(CLI::App& app);
int ExitCode();
void SetExitCode(int code);

}  // namespace kavel::app
