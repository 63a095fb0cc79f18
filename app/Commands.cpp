#include "app/Commands.h"

#include <iostream>
#include <vector>

#include "host/base/Errors.h"
#include "server/db/Database.h"

namespace kavel::app {

namespace {

int exitCode = 0;

std::vector<CommandSetup>& Setups() {
  static std::vector<CommandSetup> setups;  // filled during static initialisation only
  return setups;
}

}  // namespace

CommandRegistrar::CommandRegistrar(CommandSetup setup) {
  Setups().push_back(setup);
}

int ExitCode() {
  return exitCode;
}
void SetExitCode(int code) {
  exitCode = code;
}

void RunReportingErrors(const std::function<void()>& work) {
  try {
    work();
  } catch (const quil::server::DatabaseError& error) {
    std::cerr << "Databasefout: " << error.what() << "\n";
    SetExitCode(1);
  } catch (const std::runtime_error& error) {  // client errors included
    std::cerr << error.what() << "\n";
    SetExitCode(1);
  }
}

void RegisterCommands(CLI::App& app) {
  for (CommandSetup setup : Setups()) setup(app);
}

}  // namespace kavel::app
