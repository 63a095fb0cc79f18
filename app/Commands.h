// The sub-commands of the kavel program.
//
// Each command lives in its own file and registers itself with a static CommandRegistrar; main
// hands the CLI11 application to RegisterCommands, which adds them all. The command that ran
// leaves its exit code for main to return.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>

namespace kavel::app {

using CommandSetup = void (*)(CLI::App& app);

//! Define one at namespace scope in a command's file: `CommandRegistrar reg(&SetUpMyCommand);`.
struct CommandRegistrar {
  explicit CommandRegistrar(CommandSetup setup);
};

void RegisterCommands(CLI::App& app);
//! Runs a command's work; a client error, a database error or another runtime error is printed
//! (in Dutch) and makes the exit code 1.
void RunReportingErrors(const std::function<void()>& work);
int ExitCode();
void SetExitCode(int code);

}  // namespace kavel::app
