// kavel serve [--db FILE] [--port N] [--bind ADDR] [--davinci URL] [--secure-cookie]: the web
// host.
//
// With --davinci a sender thread delivers the waiting Davinci calls to that endpoint; without it
// the calls stay waiting and the page says so. Serves the database (default ./kavel.sqlite, created
// with the demo data when it is missing) on the address (default 127.0.0.1:8080) until it receives
// SIGINT or SIGTERM. The demo user gets the password "demo" when it has none, so a demo database
// made by init-db can be tried at once.
#include <pthread.h>
#include <signal.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

#include "app/Commands.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/forms/ModuleLoader.h"
#include "server/AppServer.h"
#include "server/Users.h"
#include "server/davinci/DavinciSender.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "server/seed/InitDb.h"
#include "web/HostApp.h"
#include "web/WebServer.h"

namespace kavel::app {

namespace {

constexpr const char* kDemoLogin = "demo";
constexpr const char* kDemoPassword = "demo";

struct ServeOptions {
  std::string db = "kavel.sqlite";
  int port = 8080;
  std::string bind = "127.0.0.1";
  std::string staticDir;
  std::string module;
  int idleMinutes = 30;
  std::string davinci;
  bool secureCookie = false;
};

constexpr const char* kNoDavinci =
    "Davinci-oproepen worden niet verstuurd: er is geen Davinci-adres ingesteld (kavel serve "
    "--davinci URL); ze blijven wachten.";

//! Gives the demo user its password when it has none; true when the demo login works.
bool PrepareDemoLogin(const std::string& path) {
  auto users = quil::server::OpenUserDirectory(path);
  if (!users->Find(kDemoLogin)) return false;
  if (!users->HasPassword(kDemoLogin)) users->SetPassword(kDemoLogin, kDemoPassword);
  return users->Authenticate(kDemoLogin, kDemoPassword).has_value();
}

void Serve(const ServeOptions& options, const std::string& programPath) {
  std::error_code ec;
  if (quil::server::IsPostgresUrl(options.db)) {
    // Several processes may serve one PostgreSQL database; none of them creates it.
    if (!quil::server::HasSchema(*quil::server::OpenDatabase(options.db))) {
      quil::RaiseClientError(
          quil::Format("'%s' bevat geen kavel-database (maak ze met kavel init-db --db URL)",
                       quil::server::DisplayLocation(options.db)));
    }
  } else if (!std::filesystem::exists(options.db, ec)) {
    quil::server::InitDatabase(options.db, {.demo = true});
    std::cout << "Nieuwe database met demogegevens aangemaakt: " << options.db << "\n";
  }
  const bool demo = PrepareDemoLogin(options.db);
  // The screens register themselves with the host's form manager, once for every session.
  quil::TModuleHandle module(options.module.empty() ? quil::ProgramDirectory() + "/libkavelmod.so"
                                                    : options.module);

  // SIGINT and SIGTERM go to one thread that stops the server; every thread started from here
  // on inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  quil::web::WebServerOptions web;
  web.connect = [path = options.db](const quil::User& user) -> std::unique_ptr<quil::IAppServer> {
    return quil::server::AppServer::Open(path, user.id);
  };
  web.users = [path = options.db] { return quil::server::OpenUserDirectory(path); };
  web.staticDir = quil::web::FindStaticDir(options.staticDir, programPath);
  web.limits.idleTimeout = std::chrono::minutes(options.idleMinutes);
  web.appFactory = quil::web::HostAppFactory();
  web.secureCookie = options.secureCookie;
  if (web.staticDir.empty()) {
    quil::RaiseClientError("De webbestanden (web/static) zijn niet gevonden; geef --static MAP");
  }
  web.notice = options.davinci.empty() ? kNoDavinci : "";
  quil::web::WebServer server(std::move(web));
  // The sender has a connection of its own and never holds the database while Davinci answers.
  std::unique_ptr<quil::server::DavinciSender> sender;
  if (!options.davinci.empty()) {
    sender = std::make_unique<quil::server::DavinciSender>(
        quil::server::OpenDatabase(options.db),
        quil::server::DavinciSenderOptions{.endpoint = options.davinci});
  }
  const int port = server.Bind(options.bind, options.port);

  std::thread stopper([&server, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  std::cout << "kavel luistert op http://" << options.bind << ":" << port << "/\n";
  if (demo) {
    std::cout << "Aanmelden met gebruiker " << kDemoLogin << ", wachtwoord " << kDemoPassword
              << "\n";
  }
  if (sender) {
    sender->Start();
    std::cout << "Davinci-oproepen gaan naar " << options.davinci << "\n";
  } else {
    std::cout << kNoDavinci << "\n";
  }
  std::cout << "Stoppen met Ctrl+C\n" << std::flush;
  server.Serve();
  if (sender) sender->Stop();
  pthread_kill(stopper.native_handle(), SIGTERM);  // harmless when it already stopped us
  stopper.join();
  std::cout << "kavel is gestopt\n";
}

void SetUpServe(CLI::App& app) {
  auto* command = app.add_subcommand("serve", "Start de webtoepassing");
  auto options = std::make_shared<ServeOptions>();
  command->add_option("--db", options->db,
                      "Het databasebestand (standaard kavel.sqlite; aangemaakt met demogegevens "
                      "als het ontbreekt) of een PostgreSQL-URL (postgresql://...)");
  command->add_option("--port", options->port, "De poort (standaard 8080; 0 kiest een vrije)")
      ->check(CLI::Range(0, 65535));
  command->add_option("--bind", options->bind, "Het adres (standaard 127.0.0.1)");
  command->add_option("--static", options->staticDir, "De map met de webbestanden");
  command->add_option("--module", options->module,
                      "De schermenmodule (standaard libkavelmod.so naast het programma)");
  command
      ->add_option("--idle-timeout", options->idleMinutes,
                   "Minuten zonder activiteit waarna een sessie afloopt (standaard 30)")
      ->check(CLI::PositiveNumber);
  command->add_option("--davinci", options->davinci,
                      "Het adres van de Davinci-dienst (bv. http://127.0.0.1:8099 van kavel "
                      "davinci-sim); zonder blijven de oproepen wachten");
  command->add_flag("--secure-cookie", options->secureCookie,
                    "Het sessiekoekje enkel over HTTPS sturen (achter een proxy met TLS)");
  command->callback([options] {
    RunReportingErrors([&] {
      std::error_code ec;
      Serve(*options, std::filesystem::read_symlink("/proc/self/exe", ec).string());
    });
  });
}

CommandRegistrar registrar(&SetUpServe);

}  // namespace

}  // namespace kavel::app
