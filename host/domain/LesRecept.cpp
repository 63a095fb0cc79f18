// The recipe text, one object per row in recipe order (docs/jobs.md, "The recipe text"):
//
//   {"versie":1,"lesmomenten":[{"dag":0,"van":"18:30","tot":"21:30","pauze":0,
//     "lestijden":"3.6000","lesgever":12,"lokaal":null,"lesplaats":3,"afstand":false}]}
//
// "dag" counts from Monday = 0; times are "HH:MM"; the lesson times are a decimal text with a '.'
// and four decimals, exactly as the host holds them, so no rounding happens on the way; an id of
// -1 ("take it from the module variant or the class") is written as null.
#include "host/domain/LesRecept.h"

#include <cinttypes>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "host/base/SysUtils.h"

namespace quil {

namespace {

//! The exact decimal text of a Currency with four decimals ("-12.5000").
std::string CurrencyText(Currency value) {
  const int64_t raw = value.Raw();
  const uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  char text[32];
  std::snprintf(text, sizeof text, "%s%" PRIu64 ".%04" PRIu64, raw < 0 ? "-" : "",
                magnitude / Currency::kScale, magnitude % Currency::kScale);
  return text;
}

nlohmann::json IdOrNull(int id) {
  return id == -1 ? nlohmann::json(nullptr) : nlohmann::json(id);
}

}  // namespace

const std::vector<std::string>& DagNamen() {
  static const std::vector<std::string> names = {"Maandag", "Dinsdag",  "Woensdag", "Donderdag",
                                                 "Vrijdag", "Zaterdag", "Zondag"};
  return names;
}

const char* DagNaam(TDag dag) {
  return DagNamen().at(static_cast<size_t>(dag)).c_str();
}

TLesReceptItem& TLesRecept::Add() {
  items_.push_back(std::make_unique<TLesReceptItem>());
  return *items_.back();
}

void TLesRecept::Delete(int index) {
  Item(index);  // throws std::out_of_range for a row that does not exist
  items_.erase(items_.begin() + index);
}

std::string LesmomentAsString(const TLesRecept& recept) {
  nlohmann::json rows = nlohmann::json::array();
  for (int i = 0; i < recept.Count(); ++i) {
    const TLesReceptItem& item = recept.Item(i);
    if (!item.Dag) throw std::logic_error("recipe row without a weekday");
    rows.push_back({{"dag", static_cast<int>(*item.Dag)},
                    {"van", FormatDateTime("hh:nn", item.Van)},
                    {"tot", FormatDateTime("hh:nn", item.Tot)},
                    {"pauze", item.Pauze},
                    {"lestijden", CurrencyText(item.Lestijden)},
                    {"lesgever", IdOrNull(item.LesgeverID)},
                    {"lokaal", IdOrNull(item.LokaalID)},
                    {"lesplaats", IdOrNull(item.LesplaatsID)},
                    {"afstand", item.Afstand}});
  }
  nlohmann::json recipe = {{"versie", 1}, {"lesmomenten", std::move(rows)}};
  return recipe.dump();
}

}  // namespace quil
