// Filtering synthetic module records with compiled filter expressions: the text filter of the
// module choice lists (LIKE with UPPER), a date comparison and an IN list over a text field,
// at 10^4, 10^5 and 10^6 records. Items per second is records per second.
#include <benchmark/benchmark.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "host/base/DateTime.h"
#include "host/data/FilterExpression.h"
#include "host/data/Packet.h"

namespace {

using quil::DataPacket;
using quil::FieldType;
using quil::Row;
using quil::Variant;

class PacketSchema : public quil::IFilterSchema {
 public:
  explicit PacketSchema(const DataPacket& packet) : packet_(packet) {}
  int FilterFieldIndex(std::string_view name) const override { return packet_.FieldIndex(name); }
  FieldType FilterFieldType(int index) const override { return packet_.fields[index].type; }

 private:
  const DataPacket& packet_;
};

class RowRecord : public quil::IFilterRecord {
 public:
  const Row* row = nullptr;
  const Variant& FilterValue(int index, Variant&) const override { return (*row)[index]; }
};

const DataPacket& Modules(size_t count) {
  static std::map<size_t, DataPacket> cache;
  DataPacket& packet = cache[count];
  if (!packet.rows.empty()) return packet;
  packet.fields = {{"VOM_ID", FieldType::Integer},
                   {"VOM_CODE", FieldType::String},
                   {"VOM_OMSCHRIJVING", FieldType::String},
                   {"VWL_DATUM", FieldType::DateTime},
                   {"VO_CODE", FieldType::String}};
  static const char* const kWords[] = {"Nederlands",   "Frans",     "Engels",  "wiskunde",
                                       "basis",        "gevorderd", "module",  "Élémentaire",
                                       "lezen",        "schrijven", "spreken", "digitale",
                                       "vaardigheden", "niveau",    "cursus"};
  std::mt19937 random(42);
  const quil::TDateTime start = quil::EncodeDate(2024, 9, 1);
  packet.rows.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    std::string code = "M" + std::to_string(random() % 100000);
    if (random() % 50 == 0) code += "AB";
    std::string description;
    while (description.size() < 28) {
      if (!description.empty()) description += ' ';
      description += kWords[random() % std::size(kWords)];
    }
    if (random() % 40 == 0) description += " Abc";
    packet.rows.push_back({static_cast<int64_t>(i), code, description,
                           start + static_cast<double>(random() % 730) + 0.25,
                           std::to_string(random() % 400)});
  }
  return packet;
}

void RunFilter(benchmark::State& state, const char* text) {
  const DataPacket& packet = Modules(static_cast<size_t>(state.range(0)));
  const PacketSchema schema(packet);
  const auto filter = quil::CompileFilter(text, schema);
  RowRecord record;
  size_t matched = 0;
  for (auto _ : state) {
    matched = 0;
    for (const Row& row : packet.rows) {
      record.row = &row;
      matched += filter->Matches(record) ? 1 : 0;
    }
    benchmark::DoNotOptimize(matched);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(packet.rows.size()));
  state.counters["matched"] = static_cast<double>(matched);
}

void BM_FilterLikeUpper(benchmark::State& state) {
  RunFilter(state, "(VOM_CODE LIKE '%ab%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%ab%'))");
}

void BM_FilterDate(benchmark::State& state) {
  RunFilter(state, "VWL_DATUM >= '01/09/2025'");
}

void BM_FilterInOnText(benchmark::State& state) {
  RunFilter(state, "VO_Code in (25, 31, 59, 221, 218, 222, 226, 253, 300, 319)");
}

void BM_CompileFilter(benchmark::State& state) {
  const DataPacket& packet = Modules(10);
  const PacketSchema schema(packet);
  for (auto _ : state) {
    benchmark::DoNotOptimize(quil::CompileFilter(
        "(VOM_CODE LIKE '%ab%') OR (UPPER(VOM_OMSCHRIJVING) LIKE UPPER('%ab%'))", schema));
  }
}

BENCHMARK(BM_FilterLikeUpper)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterDate)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterInOnText)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileFilter)->Unit(benchmark::kMicrosecond);

}  // namespace
