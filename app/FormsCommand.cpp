// kavel forms: loads the screens module and lists what it registered: the menu tree (section,
// path, class) and the detail screens.
#include <iostream>
#include <string>

#include "app/Commands.h"
#include "host/base/Errors.h"
#include "host/forms/FormManager.h"
#include "host/forms/ModuleLoader.h"

namespace kavel::app {

namespace {

std::string modulePath;

void RunForms() {
  std::string path = modulePath.empty() ? quil::ProgramDirectory() + "/libkavelmod.so" : modulePath;
  RunReportingErrors([&] {
    quil::TModuleHandle module(path);
    std::cout << quil::RenderMenu(quil::FormManager());
  });
}

void SetUpFormsCommand(CLI::App& app) {
  CLI::App* forms =
      app.add_subcommand("forms", "Toont het menu en de detailschermen van de schermenmodule");
  forms->add_option("--module", modulePath,
                    "Pad naar de schermenmodule (standaard libkavelmod.so naast het programma)");
  forms->callback(RunForms);
}

CommandRegistrar registrar(&SetUpFormsCommand);

}  // namespace

}  // namespace kavel::app
