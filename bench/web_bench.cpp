// Round trips of the web host over loopback HTTP on a screen that lists 10,000 records: an action,
// a move to the next record and a page of the grid, each answered with the new state. The
// "bytes" counter is the size of one answer: one window of rows, never the whole list.
#include <benchmark/benchmark.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "bench/WebSession.h"
#include "host/base/SysUtils.h"
#include "host/forms/DBControls.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "server/Users.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "tests/common/TempDir.h"

namespace {

using nlohmann::json;
constexpr int kRecords = 10000;

class TBenchForm : public quil::TQuilDBForm {
 public:
  explicit TBenchForm(quil::TQuilApplication& app)
      : TQuilDBForm(app, "TBenchForm"),
        CDSMaterialen(AddDataSet("CDSMaterialen", "DSPVWOMaterialen")),
        DSMaterialen(AddDataSource("DSMaterialen", &CDSMaterialen)),
        Grid(Add<quil::TDBGrid>("Grid")) {
    CDSMaterialen.GetParams().Add("IS_ID", quil::FieldType::Integer).SetAsInteger(1);
    CDSMaterialen.AutoOpen = true;
    Grid.DataSource = &DSMaterialen;
    AddAction("ATel", "Tel", [this] { Caption = std::to_string(++count_); });
  }
  quil::TQuilClientDataSet& CDSMaterialen;
  quil::TDataSource& DSMaterialen;
  quil::TDBGrid& Grid;

 private:
  int count_ = 0;
};

//! A server with one logged-in session that has the bench screen open.
class Fixture {
 public:
  Fixture() {
    const std::string path = dir_.File("kavel.sqlite");
    {
      auto db = quil::server::OpenSqlite(path);
      quil::server::CreateSchema(*db);
      db->ExecuteScript(
          "INSERT INTO SCHOOL (SC_ID, SC_INSTELLINGSNUMMER, SC_NAAM) VALUES (1, '1', 'School');"
          "INSERT INTO INSTELLING (IS_ID, IS_CODE, IS_NAAMGEBRUIKER, IS_SCHOOL_FK) "
          "VALUES (1, 'EEN', 'Centrum', 1);");
      quil::server::TransactionGuard transaction(*db);
      auto insert = db->Prepare(
          "INSERT INTO VWOMATERIAAL (VWM_ID, VWM_INSTELLING_FK, VWM_CODE, VWM_OMSCHRIJVING, "
          "VWM_PRIJS, VWM_FLAGS, VWM_VERANDERDDOOR, VWM_VERANDERDOP) "
          "VALUES (:ID, 1, :CODE, :OMS, 12.5, 8, 1, '2025-09-01 10:00:00')");
      for (int i = 1; i <= kRecords; ++i) {
        insert->Reset();
        insert->BindInt64(insert->ParameterIndex("ID"), i);
        insert->BindText(insert->ParameterIndex("CODE"), quil::Format("M%.5d", i));
        insert->BindText(insert->ParameterIndex("OMS"), "Materiaal nummer " + std::to_string(i));
        insert->Step();
      }
      transaction.Commit();
      quil::server::UserStore(*db).Add("bench", "", "bench1", quil::kUserAdministrator);
    }
    quil::TFormClass formClass;
    formClass.ClassName = "TBenchForm";
    formClass.Definition.ClassName = "TBenchForm";
    formClass.Definition.MainDataSource = "DSMaterialen";
    formClass.Factory = [](quil::TQuilApplication& app) {
      return std::make_unique<TBenchForm>(app);
    };
    quil::FormManager().RegisterModuleForm(formClass, "bench", "Bench", "Bench");

    session_ = std::make_unique<kavel::bench::WebSession>(path, "bench", "bench1");
    json opened = Event({{"type", "open"}, {"class", "TBenchForm"}});
    form_ = opened["state"]["active"]["id"];
  }

  json Event(const json& event) { return session_->Event(event); }
  size_t LastBytes() const { return session_->LastBytes(); }
  int Form() const { return form_; }

 private:
  kavel::testing::TempDir dir_;
  std::unique_ptr<kavel::bench::WebSession> session_;
  int form_ = 0;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_ActionRoundTrip(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    json outcome = f.Event({{"type", "action"}, {"form", f.Form()}, {"action", "ATel"}});
    if (outcome["busy"] != false) state.SkipWithError("the action did not answer in time");
  }
  state.counters["bytes"] = static_cast<double>(f.LastBytes());
}
BENCHMARK(BM_ActionRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NextRecordRoundTrip(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.Event(
        {{"type", "command"}, {"form", f.Form()}, {"source", "DSMaterialen"}, {"command", "next"}});
  }
  state.counters["bytes"] = static_cast<double>(f.LastBytes());
}
BENCHMARK(BM_NextRecordRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PageRoundTrip(benchmark::State& state) {
  Fixture& f = Shared();
  int top = 0;
  for (auto _ : state) {
    top = (top + 4950) % kRecords;
    f.Event({{"type", "view"}, {"form", f.Form()}, {"control", "Grid"}, {"top", top}});
  }
  state.counters["bytes"] = static_cast<double>(f.LastBytes());
}
BENCHMARK(BM_PageRoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
