#include "host/data/Packet.h"

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"

namespace quil {

const char* FieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::String: return "String";
    case FieldType::Integer: return "Integer";
    case FieldType::LargeInt: return "LargeInt";
    case FieldType::Float: return "Float";
    case FieldType::Currency: return "Currency";
    case FieldType::Boolean: return "Boolean";
    case FieldType::Date: return "Date";
    case FieldType::Time: return "Time";
    case FieldType::DateTime: return "DateTime";
    case FieldType::Memo: return "Memo";
    case FieldType::Blob: return "Blob";
  }
  return "?";
}

bool IsNumericType(FieldType type) {
  return type == FieldType::Integer || type == FieldType::LargeInt || type == FieldType::Float ||
         type == FieldType::Currency;
}

bool IsDateType(FieldType type) {
  return type == FieldType::Date || type == FieldType::Time || type == FieldType::DateTime;
}

bool IsTextType(FieldType type) { return type == FieldType::String || type == FieldType::Memo; }

int DataPacket::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (SameText(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

TParam* Params::Find(std::string_view name) {
  for (auto& p : items_) {
    if (SameText(p.name, name)) return &p;
  }
  return nullptr;
}

const TParam* Params::Find(std::string_view name) const {
  return const_cast<Params*>(this)->Find(name);
}

TParam& Params::ParamByName(std::string_view name) {
  if (TParam* p = Find(name)) return *p;
  RaiseClientError(Format("Parameter '%s' niet gevonden", std::string(name)));
}

const TParam& Params::ParamByName(std::string_view name) const {
  return const_cast<Params*>(this)->ParamByName(name);
}

TParam& Params::Add(std::string_view name, FieldType type) {
  if (TParam* p = Find(name)) return *p;
  items_.push_back(TParam{std::string(name), type, Variant()});
  return items_.back();
}

}  // namespace quil
