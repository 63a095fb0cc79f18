// Job 313 for every class of a large institution, against plain SQLite in the same run.
//
// The database holds 500 classes with two organised module variants each and the general autumn
// holiday. BM_Job313EveryClass runs job 313 once per class (as the class screens and the lesson
// helper do: one call, one transaction per class) with a weekly Monday recipe from 1/9/2025 to
// 4/5/2026: 34 lessons per module variant, 34,000 in all. BM_PlainLessonInserts writes the same
// rows with one prepared INSERT whose values were converted beforehand, in one transaction. The
// ratio of the two is the figure tracked. Every run starts from a fresh database file (WAL).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/base/DateTime.h"
#include "host/domain/LesRecept.h"
#include "server/AppServer.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"

namespace quil::server {
namespace {

constexpr int kClasses = 500;
constexpr int kModuleVariantsPerClass = 2;

class Scratch {
 public:
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavel-bench-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string FreshDatabase() {
    std::string file = (dir_ / ("db" + std::to_string(++count_) + ".sqlite")).string();
    auto db = OpenSqlite(file);
    CreateSchema(*db);
    db->ExecuteScript(R"sql(
      INSERT INTO SCHOOL (SC_ID, SC_INSTELLINGSNUMMER, SC_NAAM) VALUES (1, '100001', 'School');
      INSERT INTO INSTELLING (IS_ID, IS_CODE, IS_NAAMGEBRUIKER, IS_SCHOOL_FK) VALUES (1, 'A', 'A', 1);
      INSERT INTO VESTIGINGSPLAATS (VP_ID, VP_INSTELLING_FK, VP_CODE, VP_NAAM) VALUES (1, 1, 'H', 'H');
      INSERT INTO PERSONEEL (PS_ID, PS_NAAM) VALUES (1, 'Lesgever');
      INSERT INTO LOKAAL (LK_ID, LK_VESTIGINGSPLAATS_FK, LK_CODE) VALUES (1, 1, 'A01');
      INSERT INTO PARAM (P_ID, P_TYPE, P_CODE) VALUES (1, 'VWFT', 'REG');
      INSERT INTO VWOLESPLAATS (VLP_ID, VLP_INSTELLING_FK, VLP_NUMMER, VLP_CRABCODE,
        VLP_VESTIGINGSPLAATS_FK, VLP_VERANDERDDOOR, VLP_VERANDERDOP)
        VALUES (1, 1, 10, '1', 1, 1, '2025-01-01 00:00:00');
      INSERT INTO VWOMODULE (VOM_ID, VOM_CODE, VOM_OMSCHRIJVING) VALUES (1, 'M', 'Module');
      INSERT INTO VWOMODULEVARIANT (VMV_ID, VMV_MODULE_FK, VMV_CODE) VALUES (1, 1, 'MA');
      INSERT INTO VAKANTIE (VAK_ID, VAK_OMSCHRIJVING, VAK_VAN, VAK_TOT, VAK_VERANDERDDOOR,
        VAK_VERANDERDOP) VALUES (1, 'Herfstvakantie', '2025-10-27', '2025-11-02', 1,
        '2025-01-01 00:00:00');
    )sql");
    TransactionGuard transaction(*db);
    auto klas = db->Prepare(
        "INSERT INTO VWOKLAS (VWK_ID, VWK_OMSCHRIJVING, VWK_INSTELLING_FK, "
        "VWK_VESTIGINGSPLAATS_FK, VWK_STANDAARDLOKAAL_FK, VWK_VAN, VWK_TOT, VWK_VERANDERDDOOR, "
        "VWK_VERANDERDOP) VALUES (:ID, 'Klas', 1, 1, 1, '2025-09-01', '2026-06-30', 1, "
        "'2025-01-01 00:00:00')");
    auto imv = db->Prepare(
        "INSERT INTO VWOINGMODULEVARIANT (IMV_ID, IMV_VWOKLAS_FK, IMV_VWOMODULEVARIANT_FK, "
        "IMV_AFKORTING, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT, "
        "IMV_LESGEVER_FK, IMV_LESPLAATS_FK, IMV_FINANCIERINGSBRON_FK, IMV_VERANDERDDOOR, "
        "IMV_VERANDERDOP) VALUES (:ID, :KLAS, 1, 'MA', '2025-09-01', '2026-06-30', '2025-09-01', "
        "'2026-06-30', '2025-11-01', 1, 1, 1, 1, '2025-01-01 00:00:00')");
    int imvId = 0;
    for (int k = 1; k <= kClasses; ++k) {
      klas->Reset();
      klas->BindInt64(0, k);
      klas->Step();
      for (int m = 0; m < kModuleVariantsPerClass; ++m) {
        imv->Reset();
        imv->BindInt64(0, ++imvId);
        imv->BindInt64(1, k);
        imv->Step();
      }
    }
    klas.reset();
    imv.reset();
    transaction.Commit();
    SyncGenerators(*db);
    return file;
  }

 private:
  std::filesystem::path dir_;
  int count_ = 0;
};

std::string MondayRecipe() {
  TLesRecept recipe;
  TLesReceptItem& row = recipe.Add();
  row.Dag = TDag::dgMaandag;
  row.Van = EncodeTime(18, 30);
  row.Tot = EncodeTime(21, 30);
  row.Lestijden = Currency::FromRaw(36000);
  return LesmomentAsString(recipe);
}

const TDateTime kFrom = EncodeDate(2025, 9, 1);
const TDateTime kTo = EncodeDate(2026, 5, 4);

void BM_Job313EveryClass(benchmark::State& state) {
  Scratch scratch;
  const std::string recipe = MondayRecipe();
  int64_t lessons = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string file = scratch.FreshDatabase();
    AppServer server(OpenSqlite(file), 1);
    state.ResumeTiming();
    for (int k = 1; k <= kClasses; ++k) {
      server.ExecuteJob(313, 0,
                        JobData{{Variant(k), Variant(""), Variant(1 | 2 | 16 | 32), Variant(kFrom),
                                 Variant(kTo), Variant(recipe)}});
    }
    state.PauseTiming();
    auto count = server.db().Prepare("SELECT COUNT(*) FROM VWOLES");
    count->Step();
    lessons = count->ColumnInt64(0);
    state.ResumeTiming();
  }
  state.counters["lessons"] = static_cast<double>(lessons);
  state.SetItemsProcessed(state.iterations() * lessons);
}
BENCHMARK(BM_Job313EveryClass)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainLessonInserts(benchmark::State& state) {
  Scratch scratch;
  // The same rows job 313 writes, converted beforehand: Mondays but the autumn holiday.
  std::vector<std::string> dates;
  for (TDateTime day = kFrom; day <= kTo; day = day + 7) {
    if (day >= EncodeDate(2025, 10, 27) && day <= EncodeDate(2025, 11, 2)) continue;
    dates.push_back(DateToSql(day));
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto db = OpenSqlite(scratch.FreshDatabase());
    state.ResumeTiming();
    TransactionGuard transaction(*db);
    auto insert = db->Prepare(
        "INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, "
        "VWL_LESUREN, VWL_LESGEVER_FK, VWL_LOKAAL_FK, VWL_LESPLAATS_FK, VWL_FLAGS, "
        "VWL_TRIMESTER, VWL_VERANDERDDOOR, VWL_VERANDERDOP) VALUES (?, ?, ?, '18:30:00', "
        "'21:30:00', 3.6, 1, 1, 1, 0, 1, 1, '2025-08-30 12:00:00')");
    int64_t id = 0;
    for (int imv = 1; imv <= kClasses * kModuleVariantsPerClass; ++imv) {
      for (const std::string& date : dates) {
        insert->Reset();
        insert->BindInt64(0, ++id);
        insert->BindInt64(1, imv);
        insert->BindText(2, date);
        insert->Step();
      }
    }
    insert.reset();
    transaction.Commit();
    state.counters["lessons"] = static_cast<double>(id);
  }
}
BENCHMARK(BM_PlainLessonInserts)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace quil::server
