#include "server/jobs/JobArgs.h"

#include <stdexcept>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"

namespace quil::server {

namespace {

bool Fits(const Variant& value, JobValue kind) {
  switch (kind) {
    case JobValue::Integer:
      return value.Type() == VariantType::Integer;
    case JobValue::DateTime:
      return value.Type() == VariantType::DateTime;
    case JobValue::Text:
      return value.Type() == VariantType::String;
    case JobValue::Boolean:
      return value.Type() == VariantType::Boolean;
  }
  return false;
}

//! What the call sent instead, in the same words as the expected kind.
const char* ReceivedName(const Variant& value) {
  switch (value.Type()) {
    case VariantType::Null:
      return "leeg";
    case VariantType::Boolean:
      return "een ja/nee-waarde";
    case VariantType::Integer:
      return "een geheel getal";
    case VariantType::Float:
      return "een kommagetal";
    case VariantType::Currency:
      return "een bedrag";
    case VariantType::String:
      return "een tekst";
    case VariantType::DateTime:
      return "een datum";
    case VariantType::Blob:
      return "binaire gegevens";
  }
  return "?";
}

}  // namespace

const char* JobValueName(JobValue kind) {
  switch (kind) {
    case JobValue::Integer:
      return "geheel getal";
    case JobValue::DateTime:
      return "datum";
    case JobValue::Text:
      return "tekst";
    case JobValue::Boolean:
      return "ja/nee-waarde";
  }
  return "?";
}

JobArgs::JobArgs(int jobType, const JobData& data, const JobSignature& signature)
    : values_(data.values), kinds_(signature) {
  const int expected = static_cast<int>(signature.size());
  const int received = static_cast<int>(data.values.size());
  if (received < expected) {
    RaiseClientError(Format("Job %d verwacht %d waarden en kreeg er %d: waarde %d (%s) ontbreekt",
                            jobType, expected, received, received + 1,
                            JobValueName(signature[received])));
  }
  if (received > expected) {
    RaiseClientError(Format("Job %d verwacht %d waarden en kreeg er %d: waarde %d is te veel",
                            jobType, expected, received, expected + 1));
  }
  for (int i = 0; i < expected; ++i) {
    if (!Fits(data.values[i], signature[i])) {
      RaiseClientError(Format("Job %d: waarde %d moet een %s zijn, maar is %s", jobType, i + 1,
                              JobValueName(signature[i]), ReceivedName(data.values[i])));
    }
  }
}

const Variant& JobArgs::At(int position, JobValue kind) const {
  // The signature was checked on construction: a mismatch here is the handler's own mistake.
  if (position < 0 || position >= Count() || kinds_[position] != kind) {
    throw std::logic_error("job value " + std::to_string(position) + " is not a " +
                           JobValueName(kind) + " in the signature");
  }
  return values_[position];
}

int64_t JobArgs::Integer(int position) const {
  return At(position, JobValue::Integer).Get<int64_t>();
}

TDateTime JobArgs::DateTime(int position) const {
  return At(position, JobValue::DateTime).Get<TDateTime>();
}

const std::string& JobArgs::Text(int position) const {
  return At(position, JobValue::Text).Get<std::string>();
}

bool JobArgs::Boolean(int position) const {
  return At(position, JobValue::Boolean).Get<bool>();
}

}  // namespace quil::server
