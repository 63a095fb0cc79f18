// kavel davinci-sim [--port N] [--bind ADDR] [--storing] [--vertraging MS]: the stand-in for the
// Davinci registration service (server/davinci/DavinciSim.h), until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "app/Commands.h"
#include "server/davinci/DavinciSim.h"

namespace kavel::app {

namespace {

struct SimOptions {
  int port = 8099;
  std::string bind = "127.0.0.1";
  bool storing = false;
  int delayMs = 0;
};

void RunSim(const SimOptions& options) {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  quil::server::DavinciSim sim(
      {.storing = options.storing, .delay = std::chrono::milliseconds(options.delayMs)});
  const int port = sim.Bind(options.bind, options.port);
  std::thread stopper([&sim, stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    sim.Stop();
  });
  std::cout << "Davinci-simulator luistert op http://" << options.bind << ":" << port << "/\n"
            << "Gebruik: kavel serve --davinci http://" << options.bind << ":" << port << "\n"
            << std::flush;
  sim.Serve();
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
}

void SetUpDavinciSim(CLI::App& app) {
  auto* command = app.add_subcommand("davinci-sim",
                                     "Start een lokale stand-in voor de Davinci-registratiedienst");
  auto options = std::make_shared<SimOptions>();
  command->add_option("--port", options->port, "De poort (standaard 8099; 0 kiest een vrije)")
      ->check(CLI::Range(0, 65535));
  command->add_option("--bind", options->bind, "Het adres (standaard 127.0.0.1)");
  command->add_flag("--storing", options->storing,
                    "Elke oproep beantwoorden met 503 (dienst niet beschikbaar)");
  command
      ->add_option("--vertraging", options->delayMs,
                   "Milliseconden wachten voor elk antwoord (standaard 0)")
      ->check(CLI::NonNegativeNumber);
  command->callback([options] { RunReportingErrors([&] { RunSim(*options); }); });
}

CommandRegistrar registrar(&SetUpDavinciSim);

}  // namespace

}  // namespace kavel::app
