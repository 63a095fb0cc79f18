// kavel user add|passwd|rights: manages the users of a database.
//
//   kavel user add NAME [--name TEXT] [--admin] [--db FILE]
//   kavel user passwd NAME [--db FILE]
//   kavel user rights NAME FORMCLASS BITS [--db FILE]
//
// The password is read from standard input: one line when it is not a terminal (scripts), else
// asked twice without echo.
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "app/Commands.h"
#include "host/base/Errors.h"
#include "server/Users.h"

namespace kavel::app {

namespace {

struct UserOptions {
  std::string db = "kavel.sqlite";
  std::string login;
  std::string name;
  bool admin = false;
  std::string formClass;
  int bits = 0;
};

std::string ReadLineWithoutEcho(const char* prompt) {
  std::cerr << prompt << std::flush;
  termios saved{};
  const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::cerr << "\n";
  }
  return line;
}

std::string ReadPassword() {
  if (!isatty(STDIN_FILENO)) {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  std::string first = ReadLineWithoutEcho("Wachtwoord: ");
  std::string second = ReadLineWithoutEcho("Herhaal het wachtwoord: ");
  if (first != second) quil::RaiseClientError("De twee wachtwoorden verschillen");
  return first;
}

//! Runs `work` on the users of the database, reporting failures as the command's exit code.
template <class Work>
void WithUsers(const std::string& path, Work work) {
  RunReportingErrors([&] {
    std::error_code ec;
    if (!quil::server::IsPostgresUrl(path) && !std::filesystem::exists(path, ec)) {
      quil::RaiseClientError("Database niet gevonden: " + path +
                             " (maak ze met kavel init-db of kavel serve)");
    }
    work(*quil::server::OpenUserDirectory(path));
  });
}

void SetUpUser(CLI::App& app) {
  auto* command = app.add_subcommand("user", "Beheer de gebruikers van een database");
  command->require_subcommand(1);
  auto options = std::make_shared<UserOptions>();
  auto addDb = [&](CLI::App* sub) {
    sub->add_option("--db", options->db,
                    "Het databasebestand (standaard kavel.sqlite) of een PostgreSQL-URL");
    sub->add_option("NAME", options->login, "De gebruikersnaam")->required();
  };

  auto* add = command->add_subcommand("add", "Voeg een gebruiker toe");
  addDb(add);
  add->add_option("--name", options->name, "De volledige naam");
  add->add_flag("--admin", options->admin, "Beheerder: alle rechten op alle schermen");
  add->callback([options] {
    WithUsers(options->db, [&](quil::IUserDirectory& users) {
      const std::string password = ReadPassword();
      users.Add(options->login, options->name, password,
                options->admin ? quil::kUserAdministrator : 0);
      std::cout << "Gebruiker " << options->login << " toegevoegd\n";
    });
  });

  auto* passwd = command->add_subcommand("passwd", "Geef een gebruiker een nieuw wachtwoord");
  addDb(passwd);
  passwd->callback([options] {
    WithUsers(options->db, [&](quil::IUserDirectory& users) {
      if (!users.Find(options->login)) {
        quil::RaiseClientError("Gebruiker '" + options->login + "' bestaat niet");
      }
      users.SetPassword(options->login, ReadPassword());
      std::cout << "Wachtwoord van " << options->login << " gewijzigd\n";
    });
  });

  auto* rights =
      command->add_subcommand("rights", "Zet de rechten van een gebruiker op een scherm");
  addDb(rights);
  rights->add_option("FORMCLASS", options->formClass, "De klasse van het scherm")->required();
  rights
      ->add_option("BITS", options->bits,
                   "De rechten: de som van de bits hieronder, 0 tot 15 (0 neemt ze af)")
      ->required()
      ->check(CLI::Range(0, 15));
  rights->footer(
      "Rechten per scherm (tel op):\n"
      "  1  bit 0: openen en lezen (zonder dit bit staat het scherm niet in het menu)\n"
      "  2  bit 1: records wijzigen\n"
      "  4  bit 2: records toevoegen\n"
      "  8  bit 3: records verwijderen\n"
      "Voorbeelden: 1 = alleen lezen, 3 = lezen en wijzigen, 15 = alles.\n"
      "Een scherm dat eerst een ander opent (zijn bladerscherm), vraagt ook het recht om dat te\n"
      "openen. Een beheerder (user add --admin) heeft alle rechten op alle schermen.");
  rights->callback([options] {
    WithUsers(options->db, [&](quil::IUserDirectory& users) {
      users.SetRights(options->login, options->formClass, options->bits);
      std::cout << "Rechten van " << options->login << " op " << options->formClass << ": "
                << options->bits << "\n";
    });
  });
}

CommandRegistrar registrar(&SetUpUser);

}  // namespace

}  // namespace kavel::app
