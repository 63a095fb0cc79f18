// Locale settings for formatting and parsing numbers, dates and times.
//
// The process default is Dutch (Belgium): decimal ",", thousands ".", dates dd/mm/yyyy,
// times hh:nn. Every formatting and parsing function takes a FormatSettings, defaulting to the
// process default; the default is set once at start-up and read thereafter.
#pragma once

#include <string>

namespace quil {

struct FormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
};

//! The process default; Dutch (Belgium) unless changed at start-up.
const FormatSettings& DefaultFormatSettings();
void SetDefaultFormatSettings(const FormatSettings& settings);

}  // namespace quil
