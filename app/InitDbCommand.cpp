// kavel init-db [--demo] [--force] [--year Y] FILE | --db postgresql://...: creates a database
// (a SQLite file, or the schema in an existing PostgreSQL database) and, with --demo, the demo
// data of the working year Y (default: the school year of today).
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
    std::string db;
    quil::server::InitDbOptions init;
  };
  auto options = std::make_shared<Options>();
  command->add_flag("--demo", options->init.demo, "Vul de database met demogegevens");
  command->add_flag("--force", options->init.force, "Vervang een bestaand bestand");
  command->add_option("--year", options->init.workingYear,
                      "Werkjaar van de demoklassen (standaard: het schooljaar van vandaag)");
  auto* file = command->add_option("FILE", options->file, "Het databasebestand");
  auto* db = command->add_option("--db", options->db,
                                 "Het databasebestand of een PostgreSQL-URL (postgresql://...)");
  file->excludes(db);
  command->callback([options] {
    RunReportingErrors([&] {
      const std::string location = options->db.empty() ? options->file : options->db;
      if (location.empty()) quil::RaiseClientError("Geef een databasebestand of --db URL");
      quil::server::InitDatabase(location, options->init);
      std::cout << "Database aangemaakt: " << quil::server::DisplayLocation(location)
                << (options->init.demo ? " (met demogegevens)" : "") << "\n";
    });
  });
}

CommandRegistrar registrar(&SetUpInitDb);

}  // namespace

}  // namespace kavel::app
