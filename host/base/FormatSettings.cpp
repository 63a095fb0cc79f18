#include "host/base/FormatSettings.h"

namespace quil {
namespace {

FormatSettings& ProcessSettings() {
  static FormatSettings settings;
  return settings;
}

}  // namespace

const FormatSettings& DefaultFormatSettings() {
  return ProcessSettings();
}

void SetDefaultFormatSettings(const FormatSettings& settings) {
  ProcessSettings() = settings;
}

}  // namespace quil
