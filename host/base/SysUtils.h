// Formatting and parsing of numbers, dates and times, as the host's screens use them.
//
// Format understands the subset the module uses: %s %d %x %f %% with width, '-' (left align) and
// precision (%5.2f; %.10x zero-pads and prints upper-case hex). A format whose directives and
// arguments do not match raises EClientError naming the format. %f of a Currency rounds its exact
// decimal value half to even; of a double half away from zero.
//
// Parsing functions never throw on user text: they return their default or false.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Currency.h"
#include "host/base/DateTime.h"
#include "host/base/FormatSettings.h"
#include "host/base/Variant.h"

namespace quil {

std::string FormatV(std::string_view format, std::span<const Variant> args,
                    const FormatSettings& fs = DefaultFormatSettings());

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
  const Variant values[] = {Variant(args)..., Variant()};
  return FormatV(format, std::span<const Variant>(values, sizeof...(Args)));
}

template <class... Args>
std::string FormatFS(const FormatSettings& fs, std::string_view format, const Args&... args) {
  const Variant values[] = {Variant(args)..., Variant()};
  return FormatV(format, std::span<const Variant>(values, sizeof...(Args)), fs);
}

//! Patterns of '0', '#', '.', ',' (thousands) and literal text: "0.##" (0 gives "0"),
//! "#.##" (0 gives "", 0.5 gives ",5"), "0.00". Halves round away from zero.
std::string FormatFloat(std::string_view pattern, double value,
                        const FormatSettings& fs = DefaultFormatSettings());
//! As FormatFloat, rounding the exact decimal value half to even.
std::string FormatCurr(std::string_view pattern, Currency value,
                       const FormatSettings& fs = DefaultFormatSettings());
//! At most 15 significant digits without trailing zeros, so binary noise never shows ("2,5",
//! "3", 0.1 + 0.2 gives "0,3"); scientific ("1,5E20") from 1E15 and below 1E-4.
std::string FloatToStr(double value, const FormatSettings& fs = DefaultFormatSettings());
std::string CurrToStr(Currency value, const FormatSettings& fs = DefaultFormatSettings());
std::string IntToStr(int64_t value);

//! Tokens: d dd ddd dddd (Dutch day names "maandag".."zondag"), m mm mmm mmmm, yy yyyy (yyy and
//! longer print four digits), h hh, n nn, s ss, z zzz, "mm" right after "hh" or "h" means minutes,
//! '/' and ':' print the settings' separators, text in quotes is literal.
std::string FormatDateTime(std::string_view pattern, TDateTime moment,
                           const FormatSettings& fs = DefaultFormatSettings());
std::string DateToStr(TDateTime date, const FormatSettings& fs = DefaultFormatSettings());
std::string TimeToStr(TDateTime time, const FormatSettings& fs = DefaultFormatSettings());
//! Date, plus the time when the time of day is not midnight.
std::string DateTimeToStr(TDateTime moment, const FormatSettings& fs = DefaultFormatSettings());

//! Decimal integer with optional sign and surrounding blanks; a leading '$' means hexadecimal.
bool TryStrToInt(std::string_view text, int64_t& out);
int64_t StrToIntDef(std::string_view text, int64_t def);
//! Uses the settings' decimal separator; thousand separators are not accepted.
bool TryStrToFloat(std::string_view text, double& out,
                   const FormatSettings& fs = DefaultFormatSettings());
double StrToFloatDef(std::string_view text, double def,
                     const FormatSettings& fs = DefaultFormatSettings());
//! Exact decimal parse; a fifth decimal and beyond round half to even.
bool TryStrToCurr(std::string_view text, Currency& out,
                  const FormatSettings& fs = DefaultFormatSettings());
Currency StrToCurrDef(std::string_view text, Currency def,
                      const FormatSettings& fs = DefaultFormatSettings());
//! Day, month and year in the order of the short date format, separated by the date separator;
//! a two-digit year counts from 2000 when below 50, else 1900.
bool TryStrToDate(std::string_view text, TDateTime& out,
                  const FormatSettings& fs = DefaultFormatSettings());
//! "hh:nn" or "hh:nn:ss" with the settings' time separator.
bool TryStrToTime(std::string_view text, TDateTime& out,
                  const FormatSettings& fs = DefaultFormatSettings());
//! A date, optionally followed by a blank and a time.
bool TryStrToDateTime(std::string_view text, TDateTime& out,
                      const FormatSettings& fs = DefaultFormatSettings());

}  // namespace quil
