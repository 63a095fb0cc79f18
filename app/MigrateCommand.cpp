// kavel migrate FROM TO: copies a database to another engine (a SQLite file into a PostgreSQL
// database, or back) and checks the copy table by table.
#include <iostream>
#include <string>

#include "app/Commands.h"
#include "server/db/Database.h"
#include "server/db/Migrate.h"

namespace kavel::app {

namespace {

void SetUpMigrate(CLI::App& app) {
  auto* command = app.add_subcommand(
      "migrate",
      "Kopieer een database naar een ander databasesysteem (SQLite naar PostgreSQL of terug)");
  struct Options {
    std::string from, to;
  };
  auto options = std::make_shared<Options>();
  command->add_option("FROM", options->from, "De bron: een databasebestand of PostgreSQL-URL")
      ->required();
  command
      ->add_option("TO", options->to,
                   "Het doel: een nieuw databasebestand of een lege PostgreSQL-database")
      ->required();
  command->callback([options] {
    RunReportingErrors([&] {
      quil::server::MigrateReport report = quil::server::MigrateDatabase(
          options->from, options->to, [](const quil::server::MigrateReport::Table& table) {
            std::cout << table.name << ": " << table.rows << " rijen\n";
          });
      std::cout << report.tables.size() << " tabellen gekopieerd en vergeleken: "
                << quil::server::DisplayLocation(options->from) << " -> "
                << quil::server::DisplayLocation(options->to) << "\n";
    });
  });
}

CommandRegistrar registrar(&SetUpMigrate);

}  // namespace

}  // namespace kavel::app
