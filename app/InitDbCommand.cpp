// kavel init-db [--demo] [--force] [--year Y] FILE: creates a database file with the schema and,
// with --demo, the demo data of the working year Y (default: the school year of today).
#include <iostream>
#include <string>

#include "app/Commands.h"
#include "host/base/Errors.h"
#include "server/db/Database.h"
#include "server/seed/InitDb.h"

namespace kavel::app {

namespace {

void SetUpInitDb(CLI::App& app) {
  auto* command = app.add_subcommand("init-db", "Maak een nieuwe kavel-database aan");
  struct Options {
    std::string file;
    quil::server::InitDbOptions init;
  };
  auto options = std::make_shared<Options>();
  command->add_flag("--demo", options->init.demo, "Vul de database met demogegevens");
  command->add_flag("--force", options->init.force, "Vervang een bestaand bestand");
  command->add_option("--year", options->init.workingYear,
                      "Werkjaar van de demoklassen (standaard: het schooljaar van vandaag)");
  command->add_option("FILE", options->file, "Het databasebestand")->required();
  command->callback([options] {
    RunReportingErrors([&] {
      quil::server::InitDatabase(options->file, options->init);
      std::cout << "Database aangemaakt: " << options->file
                << (options->init.demo ? " (met demogegevens)" : "") << "\n";
    });
  });
}

CommandRegistrar registrar(&SetUpInitDb);

}  // namespace

}  // namespace kavel::app
