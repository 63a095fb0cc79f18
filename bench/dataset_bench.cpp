// Client dataset operations at 10^4..10^6 records: open (packet to records), sort, filter,
// Locate/LocateID, scrolling with a calculated field, post, and a 10,000-entry change log.
// Run from a Release build: build/rel/bench/dataset_bench.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/DMQuil.h"
#include "host/data/MemoryAppServer.h"

namespace {

using namespace quil;

// Accepts every delta without storing it, so the benchmark measures the dataset's side.
class AcceptingServer : public MemoryAppServer {
 public:
  ApplyResult ApplyUpdates(std::string_view, const Delta& delta, int, const Params&) override {
    benchmark::DoNotOptimize(delta.rows.size());
    return {};
  }
};

DataPacket MakePacket(int rows) {
  DataPacket packet;
  packet.fields = {{"VOM_ID", FieldType::Integer, 0, 0, true},
                   {"VOM_CODE", FieldType::String, 8},
                   {"VOM_OMSCHRIJVING", FieldType::String, 150},
                   {"VOM_DATUM", FieldType::Date},
                   {"VOM_UREN", FieldType::Currency}};
  packet.rows.reserve(rows);
  static const char* const kWords[] = {"Wiskunde", "Nederlands",   "Engels",         "Frans",
                                       "Biologie", "Geschiedenis", "Aardrijkskunde", "Informatica"};
  uint32_t seed = 12345;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
  for (int i = 0; i < rows; ++i) {
    std::string code = "M" + std::to_string(next() % 100000);
    std::string text = std::string(kWords[next() % 8]) + " niveau " + std::to_string(next() % 9) +
                       " groep " + kWords[next() % 8];
    packet.rows.push_back({Variant(i + 1), Variant(code), Variant(text),
                           Variant(EncodeDate(2025, 9, 1) + static_cast<double>(next() % 365)),
                           Variant(Currency::FromRaw((next() % 400) * 2500))});
  }
  return packet;
}

struct Fixture {
  explicit Fixture(int rows, const char* provider = "") : packet(MakePacket(rows)) {
    ds.SetProvName(provider);
    ds.IDField = "VOM_ID";
    ds.SetAutoCommit(false);
    ds.SetDataPacket(packet);
  }
  AcceptingServer server;
  TDMQuil dm{server};
  DataPacket packet;
  TQuilClientDataSet ds{&dm, "bench"};
};

void BM_Open(benchmark::State& state) {
  DataPacket packet = MakePacket(static_cast<int>(state.range(0)));
  TQuilClientDataSet ds;
  size_t before = mallinfo2().uordblks;
  for (auto _ : state) {
    state.PauseTiming();
    DataPacket copy = packet;
    state.ResumeTiming();
    ds.SetDataPacket(std::move(copy));
  }
  size_t after = mallinfo2().uordblks;
  state.counters["bytes/record"] = static_cast<double>(after > before ? after - before : 0) /
                                   static_cast<double>(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Open)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  bool byCode = true;
  for (auto _ : state) {
    f.ds.SetSortFields(byCode ? "VOM_CODE" : "VOM_DATUM;VOM_OMSCHRIJVING");
    byCode = !byCode;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Sort)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

void BM_FilterLike(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const std::string text = Format(
      "(VOM_CODE LIKE '%%%s%%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%%%s%%'))", "ab", "ab");
  for (auto _ : state) {
    f.ds.MaybeApplyFilter(text);
    benchmark::DoNotOptimize(f.ds.RecordCount());
    state.PauseTiming();
    f.ds.MaybeApplyFilter("");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FilterLike)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

void BM_FilterDate(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    f.ds.MaybeApplyFilter("VOM_DATUM >= '01/01/2026'");
    benchmark::DoNotOptimize(f.ds.RecordCount());
    state.PauseTiming();
    f.ds.MaybeApplyFilter("");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FilterDate)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

// LocateID on the sort key: binary search, so the time per call grows with log(n).
void BM_LocateIDOnSortKey(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Fixture f(n);
  f.ds.SetSortFields("VOM_ID");
  int64_t id = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.ds.LocateID(id));
    id = (id * 7919) % n + 1;
  }
}
BENCHMARK(BM_LocateIDOnSortKey)->RangeMultiplier(10)->Range(10000, 1000000);

// Locate on a field that is not the sort key: a scan.
void BM_LocateScan(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Fixture f(n);
  std::string code = f.packet.rows[n / 2][1].AsString();
  for (auto _ : state) benchmark::DoNotOptimize(f.ds.Locate("VOM_CODE", Variant(code)));
}
BENCHMARK(BM_LocateScan)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMicrosecond);

void BM_ScrollWithCalcField(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  f.ds.Close();
  TField& label = f.ds.AddField({"LABEL", FieldType::String, 200}, FieldKind::Calculated);
  TField* code = nullptr;  // a data field exists once the packet is loaded
  f.ds.OnCalcFields = [&](TQuilClientDataSet& ds) {
    if (code == nullptr) code = &ds.FieldByName("VOM_CODE");
    label.SetAsString(code->AsString() + " uren");
  };
  f.ds.SetDataPacket(f.packet);
  for (auto _ : state) {
    f.ds.First();
    while (!f.ds.Eof()) f.ds.Next();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScrollWithCalcField)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);

void BM_EditPost(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  f.ds.SetSortFields("VOM_CODE");
  TField& hours = f.ds.FieldByName("VOM_UREN");
  int64_t i = 0;
  for (auto _ : state) {
    f.ds.Edit();
    hours.SetAsCurrency(Currency::FromRaw(++i));
    f.ds.Post();
  }
}
BENCHMARK(BM_EditPost)->RangeMultiplier(10)->Range(10000, 1000000);

// 10,000 posted changes kept in the log, then sent as one delta.
void BM_ChangeLog10k(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)), "bench");
  TField& hours = f.ds.FieldByName("VOM_UREN");
  for (auto _ : state) {
    f.ds.First();
    for (int i = 0; i < 10000; ++i) {
      f.ds.Edit();
      hours.SetAsCurrency(Currency(i));
      f.ds.Post();
      f.ds.Next();
    }
    benchmark::DoNotOptimize(f.ds.ChangeCount());
    f.ds.ApplyUpdates(0);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ChangeLog10k)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
