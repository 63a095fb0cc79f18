// The application server's apply and fetch paths against plain SQLite in the same run.
//
// BM_ApplyLessonInserts sends 10^5 inserted lessons through the lesson provider (one delta, one
// transaction); BM_PlainPreparedInserts writes the same rows with one prepared INSERT whose values
// were converted beforehand, also in one transaction. The ratio of the two is the figure tracked.
// BM_FetchLessonsIntoPacket reads 10^5 lessons into a packet. Every run starts from a fresh
// database file in a temporary directory (WAL, as the server runs).
#include <benchmark/benchmark.h>
#include <string>

#include "host/base/DateTime.h"
#include "server/AppServer.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"
#include "tests/common/TempDir.h"

namespace quil::server {
namespace {

constexpr int kRows = 100000;
constexpr const char* kLessons = "DSPVWOIngModuleVarLessen";

class Scratch {
 public:
  //! A new database file with the schema and one organised module variant (IMV_ID 1).
  std::string FreshDatabase() {
    std::string file = dir_.File("db" + std::to_string(++count_) + ".sqlite");
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
      INSERT INTO VWOKLAS (VWK_ID, VWK_OMSCHRIJVING, VWK_INSTELLING_FK, VWK_VESTIGINGSPLAATS_FK,
        VWK_VAN, VWK_TOT, VWK_VERANDERDDOOR, VWK_VERANDERDOP)
        VALUES (1, 'Klas', 1, 1, '2025-09-01', '2026-06-30', 1, '2025-01-01 00:00:00');
      INSERT INTO VWOINGMODULEVARIANT (IMV_ID, IMV_VWOKLAS_FK, IMV_VWOMODULEVARIANT_FK,
        IMV_AFKORTING, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT,
        IMV_LESPLAATS_FK, IMV_FINANCIERINGSBRON_FK, IMV_VERANDERDDOOR, IMV_VERANDERDOP)
        VALUES (1, 1, 1, 'MA1', '2025-09-01', '2026-06-30', '2025-09-01', '2026-06-30',
        '2025-09-15', 1, 1, 1, '2025-01-01 00:00:00');
    )sql");
    return file;
  }

 private:
  kavel::testing::TempDir dir_;
  int count_ = 0;
};

//! The delta of kRows new lessons, in the provider's field order.
Delta LessonInserts(AppServer& server) {
  DataPacket packet = server.GetRecords(kLessons, Params());
  Delta delta;
  delta.fields = packet.fields;
  const TDateTime first = EncodeDate(2025, 9, 1);
  for (int i = 0; i < kRows; ++i) {
    Row row(packet.fields.size());
    auto set = [&](const char* name, Variant value) { row[packet.FieldIndex(name)] = value; };
    set("VWL_ID", Variant(i + 1));
    set("VWL_INGMODULEVARIANT_FK", Variant(1));
    set("VWL_DATUM", Variant(first + i % 300));
    set("VWL_VANUUR", Variant(EncodeTime(18, 30)));
    set("VWL_TOTUUR", Variant(EncodeTime(21, 30)));
    set("VWL_LESUREN", Variant(Currency::FromRaw(36000)));
    set("VWL_LESGEVER_FK", Variant(1));
    set("VWL_LOKAAL_FK", Variant(1));
    set("VWL_LESPLAATS_FK", Variant(1));
    set("VWL_FLAGS", Variant(i % 4));
    set("VWL_TRIMESTER", Variant(1 + i % 3));
    set("VWL_VERANDERDDOOR", Variant(1));
    set("VWL_VERANDERDOP", Variant(first + 0.5));
    set("VWL_VRIJVELD1", Variant("les " + std::to_string(i)));
    delta.rows.push_back({DeltaKind::Insert, {}, std::move(row)});
  }
  return delta;
}

void BM_ApplyLessonInserts(benchmark::State& state) {
  Scratch scratch;
  for (auto _ : state) {
    state.PauseTiming();
    auto server = AppServer::Open(scratch.FreshDatabase(), 1);
    Delta delta = LessonInserts(*server);
    state.ResumeTiming();
    ApplyResult result = server->ApplyUpdates(kLessons, delta, 0, Params());
    if (result.errorCount != 0) state.SkipWithError(result.errors[0].message.c_str());
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ApplyLessonInserts)->Unit(benchmark::kMillisecond);

void BM_PlainPreparedInserts(benchmark::State& state) {
  Scratch scratch;
  struct Plain {
    std::string datum, vrijveld;
    int64_t flags, trimester;
  };
  for (auto _ : state) {
    state.PauseTiming();
    auto db = OpenSqlite(scratch.FreshDatabase());
    std::vector<Plain> rows;
    const TDateTime first = EncodeDate(2025, 9, 1);
    for (int i = 0; i < kRows; ++i) {
      rows.push_back({DateToSql(first + i % 300), "les " + std::to_string(i), i % 4, 1 + i % 3});
    }
    auto insert = db->Prepare(
        "INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, "
        "VWL_LESUREN, VWL_LESGEVER_FK, VWL_LOKAAL_FK, VWL_LESPLAATS_FK, VWL_FLAGS, VWL_TRIMESTER, "
        "VWL_VERANDERDDOOR, VWL_VERANDERDOP, VWL_VRIJVELD1) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    state.ResumeTiming();
    TransactionGuard transaction(*db);
    for (int i = 0; i < kRows; ++i) {
      const Plain& row = rows[i];
      insert->Reset();
      insert->BindInt64(0, i + 1);
      insert->BindInt64(1, 1);
      insert->BindText(2, row.datum);
      insert->BindText(3, "18:30:00");
      insert->BindText(4, "21:30:00");
      insert->BindDouble(5, 3.6);
      insert->BindInt64(6, 1);
      insert->BindInt64(7, 1);
      insert->BindInt64(8, 1);
      insert->BindInt64(9, row.flags);
      insert->BindInt64(10, row.trimester);
      insert->BindInt64(11, 1);
      insert->BindText(12, "2025-09-01 12:00:00");
      insert->BindText(13, row.vrijveld);
      insert->Step();
    }
    transaction.Commit();
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_PlainPreparedInserts)->Unit(benchmark::kMillisecond);

void BM_FetchLessonsIntoPacket(benchmark::State& state) {
  Scratch scratch;
  auto server = AppServer::Open(scratch.FreshDatabase(), 1);
  ApplyResult filled = server->ApplyUpdates(kLessons, LessonInserts(*server), 0, Params());
  if (filled.errorCount != 0) state.SkipWithError("fill failed");
  Params params;
  params.Add("IMV_ID", FieldType::Integer).value = Variant(1);
  for (auto _ : state) {
    DataPacket packet = server->GetRecords(kLessons, params);
    if (packet.rows.size() != static_cast<size_t>(kRows)) state.SkipWithError("rows missing");
    benchmark::DoNotOptimize(packet);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_FetchLessonsIntoPacket)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quil::server
