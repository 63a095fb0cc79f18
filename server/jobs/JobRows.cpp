#include "server/jobs/JobRows.h"

#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobService.h"

namespace quil::server {

namespace {

enum class SlotKind { Integer, LargeInt, Boolean, Text, DateTime, Currency };

struct Slot {
  const char* name;
  SlotKind kind;
  int size;  //!< characters of a text slot; 0 = unlimited
};

// The slots of JOBDATA after J_ID, J_JOBID and J_JOBTYPE, in table order.
constexpr Slot kSlots[] = {
    {"J_TYPERECORD", SlotKind::Integer, 0},
    {"J_BOOLEAN1", SlotKind::Boolean, 0},
    {"J_BOOLEAN2", SlotKind::Boolean, 0},
    {"J_SHORTTEXT1", SlotKind::Text, 10},
    {"J_SHORTTEXT2", SlotKind::Text, 10},
    {"J_SHORTTEXT3", SlotKind::Text, 10},
    {"J_SHORTTEXT4", SlotKind::Text, 10},
    {"J_TEXT1", SlotKind::Text, 50},
    {"J_TEXT2", SlotKind::Text, 50},
    {"J_TEXT3", SlotKind::Text, 50},
    {"J_LONGTEXT1", SlotKind::Text, 80},
    {"J_LONGTEXT2", SlotKind::Text, 80},
    {"J_LONGTEXT3", SlotKind::Text, 80},
    {"J_EXTRALONGTEXT1", SlotKind::Text, 255},
    {"J_EXTRALONGTEXT2", SlotKind::Text, 255},
    {"J_EXTRALONGTEXT3", SlotKind::Text, 255},
    {"J_DATE1", SlotKind::DateTime, 0},
    {"J_DATE2", SlotKind::DateTime, 0},
    {"J_DATE3", SlotKind::DateTime, 0},
    {"J_DATE4", SlotKind::DateTime, 0},
    {"J_INTEGER1", SlotKind::Integer, 0},
    {"J_INTEGER2", SlotKind::Integer, 0},
    {"J_INTEGER3", SlotKind::Integer, 0},
    {"J_INTEGER4", SlotKind::Integer, 0},
    {"J_INTEGER5", SlotKind::Integer, 0},
    {"J_INTEGER6", SlotKind::Integer, 0},
    {"J_BIGINT1", SlotKind::LargeInt, 0},
    {"J_CURRENCY1", SlotKind::Currency, 0},
    {"J_MEMO", SlotKind::Text, 0},
};
constexpr int kSlotCount = static_cast<int>(std::size(kSlots));

int SlotIndex(std::string_view name) {
  for (int i = 0; i < kSlotCount; ++i) {
    if (SameText(kSlots[i].name, name)) return i;
  }
  throw std::logic_error("no job row slot " + std::string(name));
}

FieldType StorageType(SlotKind kind) {
  switch (kind) {
    case SlotKind::Integer:
      return FieldType::Integer;
    case SlotKind::LargeInt:
      return FieldType::LargeInt;
    case SlotKind::DateTime:
      return FieldType::DateTime;
    case SlotKind::Currency:
      return FieldType::Currency;
    case SlotKind::Boolean:
    case SlotKind::Text:
      return FieldType::String;
  }
  return FieldType::String;
}

bool KindFits(const Slot& slot, const Variant& value) {
  switch (slot.kind) {
    case SlotKind::Integer:
      return value.Type() == VariantType::Integer &&
             value.Get<int64_t>() >= std::numeric_limits<int32_t>::min() &&
             value.Get<int64_t>() <= std::numeric_limits<int32_t>::max();
    case SlotKind::LargeInt:
      return value.Type() == VariantType::Integer;
    case SlotKind::Boolean:
      return value.Type() == VariantType::Boolean;
    case SlotKind::Text:
      return value.Type() == VariantType::String;
    case SlotKind::DateTime:
      return value.Type() == VariantType::DateTime;
    case SlotKind::Currency:
      return value.Type() == VariantType::Currency;
  }
  return false;
}

//! The first `size` characters of UTF-8 text.
std::string CutToChars(std::string text, int size) {
  int chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // continuation byte
    if (chars == size) {
      text.resize(i);
      break;
    }
    ++chars;
  }
  return text;
}

std::string SlotColumns() {
  std::string columns;
  for (const Slot& slot : kSlots) columns += std::string(", ") + slot.name;
  return columns;
}

}  // namespace

JobRow::JobRow() : values_(kSlotCount) {}

JobRow& JobRow::Set(std::string_view slotName, Variant value) {
  int index = SlotIndex(slotName);
  const Slot& slot = kSlots[index];
  if (!value.IsNull() && !KindFits(slot, value)) {
    throw std::logic_error(std::string("job row slot ") + slot.name + " cannot hold a " +
                           VariantTypeName(value.Type()));
  }
  if (slot.kind == SlotKind::Text && slot.size > 0 && !value.IsNull()) {
    value = Variant(CutToChars(value.Get<std::string>(), slot.size));
  }
  values_[index] = std::move(value);
  return *this;
}

const Variant& JobRow::Get(std::string_view slot) const {
  return values_[SlotIndex(slot)];
}

bool JobRow::Boolean(std::string_view slot) const {
  const Variant& value = Get(slot);
  return !value.IsNull() && value.Get<bool>();
}

int64_t NextGeneratorValue(Database& db, std::string_view generator) {
  std::optional<int64_t> value = db.NextGeneratorValue(generator);
  if (!value) RaiseClientError(Format("Generator '%s' niet gevonden", std::string(generator)));
  return *value;
}

JobRowWriter::JobRowWriter(const JobContext& job) : job_(job) {
  std::string values;
  for (int i = 0; i < kSlotCount + 3; ++i) values += i == 0 ? "?" : ", ?";
  insert_ = job.db.Prepare("INSERT INTO JOBDATA (J_ID, J_JOBID, J_JOBTYPE" + SlotColumns() +
                           ") VALUES (" + values + ")");
}

JobRowWriter::~JobRowWriter() = default;

int64_t JobRowWriter::Insert(const JobRow& row) {
  int64_t id = NextGeneratorValue(job_.db, "JOBDATA");
  insert_->Reset();
  insert_->BindInt64(0, id);
  insert_->BindInt64(1, job_.jobId);
  insert_->BindInt64(2, job_.jobType);
  for (int i = 0; i < kSlotCount; ++i) {
    const Variant& value = row.values_[i];
    if (kSlots[i].kind == SlotKind::Boolean && !value.IsNull()) {
      insert_->BindText(3 + i, value.Get<bool>() ? "+" : "-");
    } else {
      BindValue(*insert_, 3 + i, value, StorageType(kSlots[i].kind));
    }
  }
  insert_->Step();
  return id;
}

std::vector<JobRow> ReadJobRows(Database& db, int jobId, int jobType) {
  auto select = db.Prepare("SELECT J_ID" + SlotColumns() +
                           " FROM JOBDATA WHERE J_JOBID = :JOBID AND J_JOBTYPE = :JOBTYPE "
                           "ORDER BY J_ID");
  select->BindInt64(0, jobId);
  select->BindInt64(1, jobType);
  std::vector<JobRow> rows;
  while (select->Step()) {
    JobRow& row = rows.emplace_back();
    row.id = select->ColumnInt64(0);
    for (int i = 0; i < kSlotCount; ++i) {
      if (kSlots[i].kind == SlotKind::Boolean) {
        if (select->ColumnStorage(1 + i) != StorageClass::Null) {
          row.values_[i] = Variant(select->ColumnText(1 + i) == "+");
        }
      } else {
        row.values_[i] = ReadValue(*select, 1 + i, StorageType(kSlots[i].kind));
      }
    }
  }
  return rows;
}

}  // namespace quil::server
