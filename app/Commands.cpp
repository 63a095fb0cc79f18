#include "app/Commands.h"

#include <vector>

namespace kavel::app {

namespace {

int exitCode = 0;

std::vector<CommandSetup>& Setups() {
  static std::vector<CommandSetup> setups;  // filled during static initialisation only
  return setups;
}

}  // namespace

CommandRegistrar::CommandRegistrar(CommandSetup setup) { Setups().push_back(setup); }

int ExitCode() { return exitCode; }
void SetExitCode(int code) { exitCode = code; }

void RegisterCommands(CLI::App& app) {
  for (CommandSetup setup : Setups()) setup(app);
}

}  // namespace kavel::app
