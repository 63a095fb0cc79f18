// Fuzz target for filter expressions: any text is compiled against a schema with a field of every
// type (named after fields the screens filter on, so that the seeds in fuzz/seeds/filter bind)
// and run over records holding nulls, empty and broken texts and extreme numbers. A client error
// is the expected answer to a bad text; anything else that escapes, and any sanitizer report, is
// a fault, and so is any exception from running a filter that compiled.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "host/base/Errors.h"
#include "host/data/FilterExpression.h"

namespace {

using quil::FieldType;
using quil::Variant;

struct FuzzField {
  const char* name;
  FieldType type;
};

constexpr FuzzField kFields[] = {
    {"VOM_CODE", FieldType::String},
    {"VOM_OMSCHRIJVING", FieldType::Memo},
    {"VWL_INGMODULEVARIANT_FK", FieldType::Integer},
    {"VP_ID", FieldType::LargeInt},
    {"UUR", FieldType::Float},
    {"BEDRAG", FieldType::Currency},
    {"VWK_AFGELAST", FieldType::Boolean},
    {"CIO_VAN", FieldType::Date},
    {"START", FieldType::Time},
    {"VWL_DATUM", FieldType::DateTime},
    {"FOTO", FieldType::Blob},
    {"VMV_GEANNULEERD", FieldType::String},
    {"VO_CODE", FieldType::String},
};
constexpr int kFieldCount = static_cast<int>(std::size(kFields));

class FuzzSchema : public quil::IFilterSchema {
 public:
  int FilterFieldIndex(std::string_view name) const override {
    for (int i = 0; i < kFieldCount; ++i) {
      const std::string_view field = kFields[i].name;
      if (field.size() != name.size()) continue;
      bool same = true;
      for (size_t k = 0; k < name.size() && same; ++k) {
        char c = name[k];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        same = c == field[k];
      }
      if (same) return i;
    }
    return -1;
  }
  FieldType FilterFieldType(int index) const override { return kFields[index].type; }
};

class FuzzRecord : public quil::IFilterRecord {
 public:
  explicit FuzzRecord(std::vector<Variant> values) : values_(std::move(values)) {}
  //! Every other field is handed out through the scratch, as calculated fields are.
  const Variant& FilterValue(int index, Variant& scratch) const override {
    if (index % 2 == 0) return values_[index];
    scratch = values_[index];
    return scratch;
  }

 private:
  std::vector<Variant> values_;
};

std::vector<FuzzRecord> MakeRecords() {
  using quil::Blob;
  using quil::Currency;
  using quil::TDateTime;
  std::vector<FuzzRecord> records;
  records.emplace_back(std::vector<Variant>{
      "AB1", "Frans élémentaire", 12, int64_t{9007199254740993}, 1.5, Currency::FromDouble(12.5),
      true, TDateTime(45901), TDateTime(0.4375), TDateTime(45901.5), Blob{"\x01\x02"}, "-", "25"});
  records.emplace_back(std::vector<Variant>(kFieldCount));
  records.emplace_back(std::vector<Variant>{
      "", "\xC3", -2147483647, INT64_MIN, -1e308, Currency::FromRaw(INT64_MAX), false,
      TDateTime(-693593), TDateTime(0.99999), TDateTime(2958465.99999), Blob{}, "+", "A25"});
  records.emplace_back(std::vector<Variant>{"%_'", "\xC3\xA9\xC3\x89\xFF\xE2\x82", 0, 0, 0.0,
                                            Currency(0), true, 1.0, "10:30", "01/09/2025",
                                            "blob as text", "True", "1e400"});
  return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FuzzSchema schema;
  static const std::vector<FuzzRecord> records = MakeRecords();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const bool caseInsensitive : {true, false}) {
    quil::FilterOptions options;
    options.caseInsensitive = caseInsensitive;
    std::unique_ptr<quil::CompiledFilter> filter;
    try {
      filter = quil::CompileFilter(text, schema, options);
    } catch (const quil::EClientError&) {
      return 0;
    }
    // A compiled filter never throws, whatever the records hold.
    for (const FuzzRecord& record : records) filter->Matches(record);
  }
  return 0;
}
