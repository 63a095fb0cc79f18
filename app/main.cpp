// kavel: the program. Sub-commands run the application server tasks and, later, the web host.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/Commands.h"

int main(int argc, char** argv) {
  CLI::App app{"kavel: administratie voor centra voor volwassenenonderwijs"};
  app.set_version_flag("--version", std::string("kavel ") + KAVEL_VERSION);
  app.require_subcommand(0, 1);
  kavel::app::RegisterCommands(app);
  CLI11_PARSE(app, argc, argv);
  if (app.get_subcommands().empty()) {
    std::cout << app.help();
  }
  return kavel::app::ExitCode();
}
