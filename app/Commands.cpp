#include "app/Commands.h"

namespace kavel::app {

namespace {
int exitCode = 0;
}

int ExitCode() { return exitCode; }
void SetExitCode(int code) { exitCode = code; }

void RegisterCommands(CLI::App& app) {
  (void)app;  // sub-commands register here as the server and web host arrive
}

}  // namespace kavel::app
