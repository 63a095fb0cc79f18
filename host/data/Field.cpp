#include "host/data/Field.h"

#include <cmath>
#include <limits>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"

namespace quil {

namespace {

[[noreturn]] void InvalidValue(const Variant& value, const std::string& field) {
  RaiseClientError(Format("Ongeldige waarde '%s' voor veld '%s'", value.AsString(), field));
}

size_t Utf8Length(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

TField::TField(TQuilClientDataSet& dataset, FieldDef def, FieldKind kind)
    : Required(def.required), dataset_(dataset), def_(std::move(def)), kind_(kind) {
  ReadOnly = def_.readOnly;
}

Variant TField::ReadRaw() const {
  const Row* row = dataset_.ActiveBufferOrNull();
  if (row == nullptr) return Variant();
  switch (kind_) {
    case FieldKind::Data:
    case FieldKind::Calculated:
      return index_ >= 0 && index_ < static_cast<int>(row->size()) ? (*row)[index_] : Variant();
    case FieldKind::Bit: {
      if (bitSource_ < 0) return Variant();
      const Variant& bits = (*row)[bitSource_];
      if (bits.IsNull()) return Variant(false);
      return Variant(((bits.AsLargeInt() >> BitIndex) & 1) != 0);
    }
    case FieldKind::Lookup: {
      if (LookupDataSet == nullptr) return Variant();
      TField* key = dataset_.FindField(KeyFields);
      if (key == nullptr) return Variant();
      Variant keyValue = key->Value();
      if (keyValue.IsNull()) return Variant();
      return LookupDataSet->Lookup(LookupKeyFields, keyValue, LookupResultField);
    }
  }
  return Variant();
}

Variant TField::Value() const {
  return ReadRaw();
}

bool TField::IsNull() const {
  return ReadRaw().IsNull();
}

std::string TField::AsString() const {
  Variant v = ReadRaw();
  if (v.IsNull()) return "";
  switch (def_.type) {
    case FieldType::Date:
      return DateToStr(v.AsDateTime());
    case FieldType::Time:
      return FormatDateTime("hh:nn", v.AsDateTime());
    default:
      return v.AsString();
  }
}

std::string TField::DisplayText() const {
  return DisplayTextOf(ReadRaw());
}

std::string TField::DisplayTextOf(const Variant& v) const {
  if (v.IsNull()) return "";
  switch (def_.type) {
    case FieldType::Boolean:
      return v.AsBoolean() ? "Ja" : "Nee";
    case FieldType::Date:
      return DisplayFormat.empty() ? DateToStr(v.AsDateTime())
                                   : FormatDateTime(DisplayFormat, v.AsDateTime());
    case FieldType::Time:
      return FormatDateTime(DisplayFormat.empty() ? "hh:nn" : DisplayFormat, v.AsDateTime());
    case FieldType::DateTime:
      return DisplayFormat.empty() ? DateTimeToStr(v.AsDateTime())
                                   : FormatDateTime(DisplayFormat, v.AsDateTime());
    case FieldType::Float:
      return DisplayFormat.empty() ? FloatToStr(v.AsFloat())
                                   : FormatFloat(DisplayFormat, v.AsFloat());
    case FieldType::Currency:
      return DisplayFormat.empty() ? CurrToStr(v.AsCurrency())
                                   : FormatCurr(DisplayFormat, v.AsCurrency());
    default:
      return v.AsString();
  }
}

Variant TField::OldValue() const {
  return dataset_.OldValueOf(*this);
}

void TField::SetValue(const Variant& value) {
  dataset_.SetFieldValue(*this, value);
}

Variant TField::Coerce(const Variant& value) const {
  if (value.IsNull()) return Variant();
  const std::string& name = def_.name;
  switch (def_.type) {
    case FieldType::String:
    case FieldType::Memo: {
      std::string text =
          value.Type() == VariantType::String ? value.Get<std::string>() : value.AsString();
      // Empty text is stored as null, as a classic dataset does: IS NULL and Required see it.
      if (text.empty()) return Variant();
      if (def_.type == FieldType::String && def_.size > 0 &&
          Utf8Length(text) > static_cast<size_t>(def_.size)) {
        RaiseClientError(
            Format("Waarde te lang voor veld '%s' (maximaal %d tekens)", name, def_.size));
      }
      return Variant(std::move(text));
    }
    case FieldType::Integer:
    case FieldType::LargeInt: {
      int64_t v = 0;
      switch (value.Type()) {
        case VariantType::Integer:
          v = value.Get<int64_t>();
          break;
        case VariantType::Boolean:
          v = value.Get<bool>() ? 1 : 0;
          break;
        case VariantType::Float: {
          double d = value.Get<double>();
          if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 9.2e18) {
            InvalidValue(value, name);
          }
          v = static_cast<int64_t>(d);
          break;
        }
        case VariantType::Currency: {
          Currency c = value.Get<Currency>();
          if (c.Raw() % Currency::kScale != 0) InvalidValue(value, name);
          v = c.Trunc();
          break;
        }
        case VariantType::String:
          if (!TryStrToInt(value.Get<std::string>(), v)) InvalidValue(value, name);
          break;
        default:
          InvalidValue(value, name);
      }
      if (def_.type == FieldType::Integer &&
          (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())) {
        RaiseClientError(Format("Waarde %s buiten bereik voor veld '%s'", IntToStr(v), name));
      }
      return Variant(v);
    }
    case FieldType::Float: {
      double d = 0;
      if (value.Type() == VariantType::String) {
        if (!TryStrToFloat(value.Get<std::string>(), d)) InvalidValue(value, name);
      } else if (value.Type() == VariantType::Blob) {
        InvalidValue(value, name);
      } else {
        d = value.AsFloat();
      }
      return Variant(d);
    }
    case FieldType::Currency: {
      Currency c;
      if (value.Type() == VariantType::String) {
        if (!TryStrToCurr(value.Get<std::string>(), c)) InvalidValue(value, name);
      } else if (value.Type() == VariantType::Blob) {
        InvalidValue(value, name);
      } else {
        c = value.AsCurrency();
      }
      return Variant(c);
    }
    case FieldType::Boolean: {
      if (value.Type() == VariantType::Boolean) return value;
      if (value.Type() == VariantType::Integer) return Variant(value.Get<int64_t>() != 0);
      if (value.Type() == VariantType::String) {
        const std::string& s = value.Get<std::string>();
        static const char* const kTrue[] = {"+", "true", "t", "1", "j", "ja", "y"};
        static const char* const kFalse[] = {"-", "false", "f", "0", "n", "nee"};
        std::string lower;
        for (char c : s) lower += static_cast<char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
        for (const char* t : kTrue) {
          if (lower == t) return Variant(true);
        }
        for (const char* f : kFalse) {
          if (lower == f) return Variant(false);
        }
      }
      InvalidValue(value, name);
    }
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime: {
      TDateTime t;
      switch (value.Type()) {
        case VariantType::DateTime:
          t = value.Get<TDateTime>();
          break;
        case VariantType::Integer:
        case VariantType::Float:
        case VariantType::Currency:
          t = TDateTime(value.AsFloat());
          break;
        case VariantType::String: {
          const std::string& s = value.Get<std::string>();
          bool ok = def_.type == FieldType::Time ? TryStrToTime(s, t) : TryStrToDateTime(s, t);
          if (!ok) InvalidValue(value, name);
          break;
        }
        default:
          InvalidValue(value, name);
      }
      if (def_.type == FieldType::Date) t = DateOf(t);
      return Variant(t);
    }
    case FieldType::Blob:
      if (value.Type() == VariantType::Blob) return value;
      return Variant(Blob{value.AsString()});
  }
  return value;
}

}  // namespace quil
