#include "server/db/ValueCodec.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "host/base/Strings.h"

namespace quil::server {

namespace {

//! Reads `count` digits at `pos`; false when any is not a digit.
bool Digits(std::string_view text, size_t pos, size_t count, int& out) {
  if (pos + count > text.size()) return false;
  out = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = out * 10 + (text[i] - '0');
  }
  return true;
}

bool ParseTime(std::string_view text, TDateTime& out) {
  int hour = 0, minute = 0, second = 0, msec = 0;
  if (!Digits(text, 0, 2, hour) || text.size() < 5 || text[2] != ':' ||
      !Digits(text, 3, 2, minute)) {
    return false;
  }
  size_t pos = 5;
  if (pos < text.size()) {
    if (text[pos] != ':' || !Digits(text, pos + 1, 2, second)) return false;
    pos += 3;
    if (pos < text.size()) {
      if (text[pos] != '.') return false;
      int digits = 0;
      for (++pos; pos < text.size() && digits < 3; ++pos, ++digits) {
        if (text[pos] < '0' || text[pos] > '9') return false;
        msec = msec * 10 + (text[pos] - '0');
      }
      for (; digits < 3; ++digits) msec *= 10;
    }
  }
  return TryEncodeTime(hour, minute, second, msec, out);
}

bool ParseDecimal(std::string_view text, Currency& out) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
  int64_t raw = 0;
  int decimals = -1;
  bool any = false;
  int roundDigit = -1;
  bool sticky = false;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (c < '0' || c > '9') return false;
    any = true;
    if (decimals >= 4) {
      if (roundDigit < 0) {
        roundDigit = c - '0';
      } else if (c != '0') {
        sticky = true;
      }
      continue;
    }
    raw = raw * 10 + (c - '0');
    if (decimals >= 0) ++decimals;
  }
  if (!any) return false;
  for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d) raw *= 10;
  if (roundDigit > 5 || (roundDigit == 5 && (sticky || raw % 2 != 0))) ++raw;
  out = Currency::FromRaw(negative ? -raw : raw);
  return true;
}

}  // namespace

bool FieldDefFromDeclType(std::string_view declType, FieldDef& def) {
  std::string upper = UpperCaseAscii(declType);
  std::string base = upper.substr(0, upper.find('('));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  int first = 0, second = 0;
  if (auto open = upper.find('('); open != std::string::npos) {
    std::sscanf(upper.c_str() + open + 1, "%d , %d", &first, &second);
  }
  def.size = 0;
  def.scale = 0;
  if (base == "INTEGER" || base == "INT" || base == "SMALLINT") {
    def.type = FieldType::Integer;
  } else if (base == "BIGINT") {
    def.type = FieldType::LargeInt;
  } else if (base == "VARCHAR" || base == "CHAR") {
    def.type = FieldType::String;
    def.size = first;
  } else if (base == "TEXT") {
    def.type = FieldType::Memo;
  } else if (base == "NUMERIC" || base == "DECIMAL") {
    def.type = FieldType::Currency;
    def.size = first;
    def.scale = second;
  } else if (base == "REAL" || base == "FLOAT" || base == "DOUBLE" || base == "DOUBLE PRECISION") {
    def.type = FieldType::Float;
  } else if (base == "BLOB") {
    def.type = FieldType::Blob;
  } else if (base == "DATE") {
    def.type = FieldType::Date;
  } else if (base == "TIME") {
    def.type = FieldType::Time;
  } else if (base == "TIMESTAMP") {
    def.type = FieldType::DateTime;
  } else if (base == "BOOLEAN") {
    def.type = FieldType::Boolean;
  } else {
    return false;
  }
  return true;
}

Variant ReadValue(const Statement& stmt, int column, FieldType type) {
  StorageClass storage = stmt.ColumnStorage(column);
  if (storage == StorageClass::Null) return Variant();
  switch (type) {
    case FieldType::Integer:
    case FieldType::LargeInt:
      if (storage == StorageClass::Float) return Variant(std::llround(stmt.ColumnDouble(column)));
      return Variant(static_cast<long long>(stmt.ColumnInt64(column)));
    case FieldType::Float:
      return Variant(stmt.ColumnDouble(column));
    case FieldType::Currency: {
      if (storage == StorageClass::Integer) {
        return Variant(Currency::FromRaw(stmt.ColumnInt64(column) * Currency::kScale));
      }
      if (storage == StorageClass::Float) {
        return Variant(Currency::FromDouble(stmt.ColumnDouble(column)));
      }
      Currency value;
      if (!ParseDecimal(stmt.ColumnText(column), value)) {
        throw DatabaseError("Ongeldig getal in kolom " + stmt.Origin(column).name,
                            DatabaseError::Kind::Other);
      }
      return Variant(value);
    }
    case FieldType::Boolean:
      if (storage == StorageClass::Integer) return Variant(stmt.ColumnInt64(column) != 0);
      return Variant(Variant(stmt.ColumnText(column)).AsBoolean());
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime: {
      TDateTime moment;
      if (!SqlToDateTime(stmt.ColumnText(column), moment)) {
        throw DatabaseError("Ongeldige datum in kolom " + stmt.Origin(column).name + ": '" +
                                std::string(stmt.ColumnText(column)) + "'",
                            DatabaseError::Kind::Other);
      }
      return Variant(moment);
    }
    case FieldType::Blob:
      return Variant(Blob{std::string(stmt.ColumnBlob(column))});
    case FieldType::String:
    case FieldType::Memo:
      break;
  }
  return Variant(stmt.ColumnText(column));
}

void BindValue(Statement& stmt, int index, const Variant& value, FieldType type) {
  if (value.IsNull()) {
    stmt.BindNull(index);
    return;
  }
  switch (type) {
    case FieldType::Integer:
    case FieldType::LargeInt:
      stmt.BindInt64(index, value.AsLargeInt());
      return;
    case FieldType::Float:
      stmt.BindDouble(index, value.AsFloat());
      return;
    case FieldType::Currency: {
      Currency c = value.AsCurrency();
      if (c.Raw() % Currency::kScale == 0) {
        stmt.BindInt64(index, c.Trunc());
      } else {
        stmt.BindDouble(index, c.ToDouble());
      }
      return;
    }
    case FieldType::Boolean:
      stmt.BindInt64(index, value.AsBoolean() ? 1 : 0);
      return;
    case FieldType::Date:
      stmt.BindText(index, DateToSql(value.AsDateTime()));
      return;
    case FieldType::Time:
      stmt.BindText(index, TimeToSql(value.AsDateTime()));
      return;
    case FieldType::DateTime:
      stmt.BindText(index, DateTimeToSql(value.AsDateTime()));
      return;
    case FieldType::Blob:
      if (const Blob* blob = value.AsBlob()) {
        stmt.BindBlob(index, blob->bytes);
        return;
      }
      stmt.BindBlob(index, value.AsString());
      return;
    case FieldType::String:
    case FieldType::Memo:
      if (value.Type() == VariantType::String) {
        stmt.BindText(index, value.Get<std::string>());
      } else if (const Blob* blob = value.AsBlob()) {
        stmt.BindText(index, blob->bytes);
      } else {
        stmt.BindText(index, value.AsString());
      }
      return;
  }
}

std::string DateToSql(TDateTime date) {
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  return buffer;
}

std::string TimeToSql(TDateTime time) {
  int hour = 0, minute = 0, second = 0, msec = 0;
  DecodeTime(time, hour, minute, second, msec);
  char buffer[16];
  if (msec != 0) {
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", hour, minute, second, msec);
  } else {
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", hour, minute, second);
  }
  return buffer;
}

std::string DateTimeToSql(TDateTime moment) {
  return DateToSql(moment) + " " + TimeToSql(moment);
}

bool SqlToCurrency(std::string_view text, Currency& out) {
  return ParseDecimal(text, out);
}

bool SqlToDateTime(std::string_view text, TDateTime& out) {
  if (text.size() >= 3 && text[2] == ':') return ParseTime(text, out);
  int year = 0, month = 0, day = 0;
  if (!Digits(text, 0, 4, year) || text.size() < 10 || text[4] != '-' ||
      !Digits(text, 5, 2, month) || text[7] != '-' || !Digits(text, 8, 2, day)) {
    return false;
  }
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) return false;
  if (text.size() == 10) {
    out = date;
    return true;
  }
  if (text[10] != ' ' && text[10] != 'T') return false;
  TDateTime time;
  if (!ParseTime(text.substr(11), time)) return false;
  // Days before day 0 count backwards while the time still moves forward.
  out = TDateTime(date.value < 0 ? date.value - time.value : date.value + time.value);
  return true;
}

}  // namespace quil::server
