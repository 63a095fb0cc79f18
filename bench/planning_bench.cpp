// The set-lessons dialog over a large lesson list: change the teacher of every Tuesday lesson,
// every other week, in 10^5 lessons (one a day), as one SetLessen. Run from a Release build.
#include <benchmark/benchmark.h>

#include <memory>

#include "host/data/ClientDataSet.h"
#include "host/data/DMQuil.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryAppServer.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "planning/dlgVWOZetLessen.h"

namespace {

using namespace quil;

void BM_SetLessenTuesdaysEveryOtherWeek(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  MemoryAppServer server;
  std::vector<Row> rows;
  rows.reserve(count);
  const TDateTime first = EncodeDate(1900, 1, 1);
  for (int i = 0; i < count; ++i) {
    rows.push_back({Variant(i + 1), Variant(1 + i % 3), Variant(first + i),
                    Variant(EncodeTime(18, 0)), Variant(EncodeTime(20, 30)), Variant(Currency(3)),
                    Variant(6), Variant(20), Variant(30), Variant(0)});
  }
  server.AddProvider("DSPLessen",
                     {{"VWL_ID", FieldType::Integer},
                      {"VWL_INGMODULEVARIANT_FK", FieldType::Integer},
                      {"VWL_DATUM", FieldType::Date},
                      {"VWL_VANUUR", FieldType::Time},
                      {"VWL_TOTUUR", FieldType::Time},
                      {"VWL_LESUREN", FieldType::Currency},
                      {"VWL_LESGEVER_FK", FieldType::Integer},
                      {"VWL_LOKAAL_FK", FieldType::Integer},
                      {"VWL_LESPLAATS_FK", FieldType::Integer},
                      {"VWL_FLAGS", FieldType::Integer}},
                     "VWL_ID", std::move(rows));
  TDMQuil dm(server);
  ScriptedDialogs dialogs;
  TQuilApplication app(dm, dialogs);
  app.SetAdminPrefs(std::make_shared<AdminPrefs>(first));
  TQuilClientDataSet lessons(&dm, "CDSLessen");
  lessons.SetProvName("DSPLessen");
  lessons.IDField = "VWL_ID";
  lessons.SetSortFields("VWL_DATUM");
  lessons.SetAutoCommit(false);  // the lesson list applies after the dialog
  lessons.Open();
  TDataSource source(&lessons);

  kavel::TVWOZetLessenForm dialog(app);
  dialog.SetIMVIDS({"1=A", "2=B", "3=C"});
  dialog.SetDS(2, &source);
  dialog.CBEnkelLessenOp.SetChecked(true);
  dialog.CBDagen[1]->SetChecked(true);  // Tuesday
  dialog.CBTweewekelijks.SetChecked(true);
  dialog.CBLesgeverWijzigen.SetChecked(true);
  int teacher = 5;
  for (auto _ : state) {
    dialog.SetID(0, teacher);
    dialog.SetLessen(lessons, first, first + (count - 1));
    teacher = teacher == 5 ? 7 : 5;
  }
  state.counters["changed"] = lessons.ChangeCount();
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SetLessenTuesdaysEveryOtherWeek)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
