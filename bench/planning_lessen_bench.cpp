// The lessons screen of an organised module variant with 5,000 lessons: opening it through the
// module variant list (Klassen -> Modulevarianten -> Lessen) and switching to its month view,
// on the demo database in a SQLite file. Run from a Release build.
#include <benchmark/benchmark.h>
#include <memory>
#include <stdexcept>
#include <string>

#include "classes/frmVWOKlas.h"
#include "core/kavelmod.h"
#include "host/data/DMQuil.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "modulevariants/Frmvwoingmodulevarlessen.h"
#include "modulevariants/frmVWOIngModuleVariant.h"
#include "server/AppServer.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"
#include "server/seed/DemoData.h"
#include "tests/common/TempDir.h"

namespace {

using namespace quil;

constexpr int kLessons = 5000;
constexpr int kModuleVariant = 1;  // of demo class 1, at De Linde

class Setup {
 public:
  Setup() {
    const std::string file = dir_.File("lessen.sqlite");
    {
      auto db = server::OpenSqlite(file);
      server::CreateSchema(*db);
      server::SeedDemoData(*db, {.workingYear = 2025});
      // The module variant's lessons grow to 5,000: several a day over its school year.
      server::TransactionGuard transaction(*db);
      auto insert = db->Prepare(
          "INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, "
          "VWL_TOTUUR, VWL_LESUREN, VWL_LESGEVER_FK, VWL_LOKAAL_FK, VWL_LESPLAATS_FK, VWL_FLAGS, "
          "VWL_TRIMESTER, VWL_VERANDERDDOOR, VWL_VERANDERDOP) VALUES (:ID, :IMV, :DATUM, "
          "'18:30:00', '21:30:00', 3.6, 2, 1, 1, 0, 1, 1, '2025-08-25 10:00:00')");
      auto count = db->Prepare(
          "SELECT COUNT(*), MAX(VWL_ID) FROM VWOLES WHERE "
          "VWL_INGMODULEVARIANT_FK = 1");
      count->Step();
      const int have = static_cast<int>(count->ColumnInt64(0));
      int64_t id = 0;
      auto max = db->Prepare("SELECT MAX(VWL_ID) FROM VWOLES");
      max->Step();
      id = max->ColumnInt64(0);
      count.reset();
      max.reset();
      for (int n = have; n < kLessons; ++n) {
        insert->Reset();
        insert->BindInt64(0, ++id);
        insert->BindInt64(1, kModuleVariant);
        insert->BindText(2, server::DateToSql(EncodeDate(2025, 9, 15) + n % 138));
        insert->Step();
      }
      insert.reset();
      transaction.Commit();
      server::SyncGenerators(*db);
    }
    server::AppServerOptions options;
    options.clock = [] { return EncodeDate(2025, 10, 1) + 0.375; };
    appServer_ = std::make_unique<server::AppServer>(server::OpenSqlite(file), 1, options);
    dm_ = std::make_unique<TDMQuil>(*appServer_);
    app_ = std::make_unique<TQuilApplication>(*dm_, dialogs_);
    app_->SetAdminPrefs(std::make_shared<AdminPrefs>(EncodeDate(2025, 10, 1)));
    if (FormManager().FormClassCount() == 0) QuilModuleEntry();
    // Klassen at De Linde, its first class, its first module variant.
    auto* klassen = dynamic_cast<kavel::TVWOKlasForm*>(app_->OpenForm("TVWOKlasForm"));
    if (klassen == nullptr) throw std::runtime_error("Klassen: " + dialogs_.Transcript());
    app_->MoveTo(*klassen->MasterForm(), "DSBrowseVWOinstelling", 2);
    klassen->CDSVWOKlas.LocateID(1);
    app_->MoveTo(*klassen, "DSVWOKlas", klassen->CDSVWOKlas.RecNo());
    varianten_ = dynamic_cast<kavel::TVWOIngModuleVariantForm*>(
        app_->OpenFormLink(*klassen, "Modulevarianten"));
    if (varianten_ == nullptr) throw std::runtime_error("Modulevarianten");
    varianten_->CDSVWOIngModuleVarianten.LocateID(kModuleVariant);
    app_->MoveTo(*varianten_, "DSVWOIngModuleVarianten",
                 varianten_->CDSVWOIngModuleVarianten.RecNo());
  }
  ~Setup() {
    app_.reset();
    dm_.reset();
    appServer_.reset();
  }

  kavel::TVWOIngModuleVarLessenForm& OpenLessen() {
    auto* lessen =
        dynamic_cast<kavel::TVWOIngModuleVarLessenForm*>(app_->OpenFormLink(*varianten_, "Lessen"));
    if (lessen == nullptr) throw std::runtime_error("Lessen: " + dialogs_.Transcript());
    return *lessen;
  }
  TQuilApplication& app() { return *app_; }

 private:
  kavel::testing::TempDir dir_;
  std::unique_ptr<server::AppServer> appServer_;
  std::unique_ptr<TDMQuil> dm_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TQuilApplication> app_;
  kavel::TVWOIngModuleVariantForm* varianten_ = nullptr;
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void BM_OpenLessen(benchmark::State& state) {
  Setup& setup = Shared();
  int lessons = 0;
  for (auto _ : state) {
    auto& lessen = setup.OpenLessen();
    lessons = lessen.CDSLessen.RecordCount();
    setup.app().CloseForm(lessen);
  }
  state.counters["lessons"] = lessons;
}
BENCHMARK(BM_OpenLessen)->Unit(benchmark::kMillisecond);

void BM_OpenLessenAndMonthView(benchmark::State& state) {
  Setup& setup = Shared();
  int items = 0;
  for (auto _ : state) {
    auto& lessen = setup.OpenLessen();
    if (setup.app().SetValue(lessen, "PCLessen", "2") != TEventResult::Done) {
      state.SkipWithError("the month view did not open");
      break;
    }
    items = static_cast<int>(lessen.PLKalender.Items.size());
    setup.app().CloseForm(lessen);
  }
  state.counters["items"] = items;
}
BENCHMARK(BM_OpenLessenAndMonthView)->Unit(benchmark::kMillisecond);

//! The month view alone, back and forth on an open screen (the write-back has nothing to write).
void BM_MonthViewSwitch(benchmark::State& state) {
  Setup& setup = Shared();
  auto& lessen = setup.OpenLessen();
  for (auto _ : state) {
    setup.app().SetValue(lessen, "PCLessen", "2");
    setup.app().SetValue(lessen, "PCLessen", "0");
  }
  setup.app().CloseForm(lessen);
}
BENCHMARK(BM_MonthViewSwitch)->Unit(benchmark::kMillisecond);

}  // namespace
