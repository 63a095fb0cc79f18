// Davinci calls sent per second to the stand-in service on loopback.
//
// Every run queues kCalls well-formed lesson reports in a fresh database file (WAL, as the server
// runs) and lets the sender deliver them until none is waiting: one sender driven on this thread
// (BM_SendCalls), and two sender threads sharing the queue (BM_SendCallsTwoSenders). Each call is
// a claim, an HTTP round trip and a settle, so the figure is what the sender sustains end to end;
// items_per_second is calls per second of wall-clock time.
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "server/davinci/DavinciSender.h"
#include "server/davinci/DavinciSim.h"
#include "server/db/Schema.h"
#include "tests/common/TempDir.h"

namespace quil::server {
namespace {

constexpr int kCalls = 500;

std::string QueueCalls(const std::filesystem::path& dir, int run) {
  const std::string file = (dir / ("db" + std::to_string(run) + ".sqlite")).string();
  auto db = OpenSqlite(file);
  CreateSchema(*db);
  db->ExecuteScript(
      "INSERT INTO SCHOOL (SC_ID, SC_INSTELLINGSNUMMER, SC_NAAM) VALUES (1, '104711', 'De Linde')");
  TransactionGuard transaction(*db);
  auto record =
      db->Prepare("INSERT INTO ZIDEZUZOID (ID_ID, ID_TYPE, ID_DATA_FK) VALUES (:ID, 3, :ID)");
  auto call = db->Prepare(
      "INSERT INTO WEBSERVICECALL (WC_ID, WC_CALLTYPE, WC_CALLSTATUS, WC_ZIDEZUZOID_FK, "
      "WC_SCHOOL_FK, WC_DATA, WC_POGINGEN) VALUES (:ID, 301, 'W', :ID, 1, "
      "'{\"datum\":\"2025-10-06\",\"van\":\"18:30:00\",\"tot\":\"21:30:00\"}', 0)");
  // Ids go on from run to run: the service answers an id it has seen as a repeat.
  for (int id = (run - 1) * kCalls + 1; id <= run * kCalls; ++id) {
    record->Reset();
    record->BindInt64(record->ParameterIndex("ID"), id);
    record->Step();
    call->Reset();
    call->BindInt64(call->ParameterIndex("ID"), id);
    call->Step();
  }
  transaction.Commit();
  return file;
}

void Run(benchmark::State& state, int senders) {
  const kavel::testing::TempDir scratch;
  const std::filesystem::path& dir = scratch.Path();
  DavinciSim sim;
  const std::string endpoint = "http://127.0.0.1:" + std::to_string(sim.Bind("127.0.0.1", 0));
  sim.Start();
  int run = 0;
  long expected = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string file = QueueCalls(dir, ++run);
    expected += kCalls;
    state.ResumeTiming();
    if (senders == 1) {
      DavinciSender sender(OpenSqlite(file), {.endpoint = endpoint});
      while (sender.SendNext()) {
      }
    } else {
      std::vector<std::unique_ptr<DavinciSender>> threads;
      for (int i = 0; i < senders; ++i) {
        threads.push_back(std::make_unique<DavinciSender>(
            OpenSqlite(file),
            DavinciSenderOptions{.endpoint = endpoint, .idle = std::chrono::milliseconds(1)}));
        threads.back()->Start();
      }
      while (sim.Counts().accepted < expected) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      for (auto& sender : threads) sender->Stop();
    }
  }
  if (sim.Counts().accepted != expected) state.SkipWithError("not every call was accepted");
  state.SetItemsProcessed(state.iterations() * kCalls);
  sim.Stop();
}

void BM_SendCalls(benchmark::State& state) {
  Run(state, 1);
}
void BM_SendCallsTwoSenders(benchmark::State& state) {
  Run(state, 2);
}
BENCHMARK(BM_SendCalls)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SendCallsTwoSenders)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace quil::server
