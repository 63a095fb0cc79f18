// The class screen in the browser protocol, on the demo database with 500 more classes for the
// first centre in the working year: opening the screen (with its lists), narrowing the list to a
// location and back, and moving to the next class (which asks the server for the class's Davinci
// calls). Each is one round trip over loopback HTTP answered with the new state.
#include <benchmark/benchmark.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "bench/WebSession.h"
#include "core/kavelmod.h"
#include "host/base/SysUtils.h"
#include "host/forms/FormManager.h"
#include "server/Users.h"
#include "server/db/Database.h"
#include "server/seed/InitDb.h"
#include "tests/common/TempDir.h"

namespace {

using nlohmann::json;
constexpr int kKlassen = 500;

class Fixture {
 public:
  Fixture() {
    const std::string path = dir_.File("kavel.sqlite");
    quil::server::InitDbOptions init;
    init.demo = true;
    init.workingYear = 2025;
    quil::server::InitDatabase(path, init);
    {
      auto db = quil::server::OpenSqlite(path);
      quil::server::TransactionGuard transaction(*db);
      auto insert = db->Prepare(
          "INSERT INTO VWOKLAS (VWK_ID, VWK_CODE, VWK_OMSCHRIJVING, VWK_INSTELLING_FK, "
          "VWK_VESTIGINGSPLAATS_FK, VWK_STANDAARDLOKAAL_FK, VWK_VAN, VWK_TOT, VWK_MAXLEERLINGEN, "
          "VWK_FLAGS, VWK_VERANDERDDOOR, VWK_VERANDERDOP) VALUES (:ID, :CODE, :OMS, 1, :VP, :LK, "
          "'2025-09-15', '2026-06-27', 20, 2048, 1, '2025-09-01 10:00:00')");
      for (int i = 1; i <= kKlassen; ++i) {
        const int vp = 1 + i % 3;
        insert->Reset();
        insert->BindInt64(insert->ParameterIndex("ID"), 1000 + i);
        insert->BindText(insert->ParameterIndex("CODE"), quil::Format("LIN-K%.4d", i));
        insert->BindText(insert->ParameterIndex("OMS"), "Klas nummer " + std::to_string(i));
        insert->BindInt64(insert->ParameterIndex("VP"), vp);
        insert->BindInt64(insert->ParameterIndex("LK"), (vp - 1) * 4 + 1);
        insert->Step();
      }
      transaction.Commit();
      quil::server::UserStore(*db).Add("bench", "", "bench1", quil::kUserAdministrator);
    }
    if (quil::FormManager().FormClassCount() == 0) QuilModuleEntry();

    session_ = std::make_unique<kavel::bench::WebSession>(path, "bench", "bench1");
    Event({{"type", "werkdatum"}, {"value", "01/10/2025"}});
  }
  json Event(const json& event) { return session_->Event(event); }
  //! Opens the class screen and returns its form id; 0 when another screen came up.
  int OpenKlassen() {
    json opened = Event({{"type", "open"}, {"class", "TVWOKlasForm"}});
    const json& active = opened["state"]["active"];
    return active.is_object() && active["class"] == "TVWOKlasForm" ? active["id"].get<int>() : 0;
  }
  //! The class screen kept open for the benchmarks that work on it.
  int Klassen() {
    if (klassen_ == 0) klassen_ = OpenKlassen();
    return klassen_;
  }

 private:
  kavel::testing::TempDir dir_;
  std::unique_ptr<kavel::bench::WebSession> session_;
  int klassen_ = 0;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_KlassenOpen(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    const int form = f.OpenKlassen();
    state.PauseTiming();
    if (form == 0) state.SkipWithError("the class screen did not open");
    f.Event({{"type", "close"}, {"form", form}});
    state.ResumeTiming();
  }
}
BENCHMARK(BM_KlassenOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KlassenFilterVestiging(benchmark::State& state) {
  Fixture& f = Shared();
  const int form = f.Klassen();
  bool filtered = false;
  for (auto _ : state) {
    filtered = !filtered;
    f.Event({{"type", "value"},
             {"form", form},
             {"control", "LCFilterVestiging"},
             {"value", filtered ? "2" : ""}});
  }
}
BENCHMARK(BM_KlassenFilterVestiging)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_KlassenNext(benchmark::State& state) {
  Fixture& f = Shared();
  const int form = f.Klassen();
  int step = 0;
  for (auto _ : state) {
    // Through the list and back to the first class now and then.
    const char* command = ++step % 400 == 0 ? "first" : "next";
    f.Event({{"type", "command"}, {"form", form}, {"source", "DSVWOKlas"}, {"command", command}});
  }
}
BENCHMARK(BM_KlassenNext)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
