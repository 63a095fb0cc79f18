// Formatting and parsing through FormatSettings. Numbers are rounded as decimal digit strings
// (DecimalText.h), never by scaling doubles, so that what is shown matches what the user typed.
#include "host/base/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "host/base/DecimalText.h"
#include "host/base/Errors.h"
#include "host/base/Strings.h"

namespace quil {
namespace {

using detail::Decimal;
using detail::HalfRounding;
using detail::RoundedDecimal;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

//! Characters, not bytes, of UTF-8 text: what a width counts.
size_t CharCount(std::string_view text) {
  return std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
}

std::string PadLeft(std::string text, size_t width, char fill) {
  size_t count = CharCount(text);
  if (count < width) text.insert(0, width - count, fill);
  return text;
}

//! "-123,45": the rounded value with every digit it has.
std::string FixedText(const RoundedDecimal& value, char decimalSeparator) {
  std::string text = value.negative ? "-" : "";
  text += value.intPart.empty() ? "0" : value.intPart;
  if (!value.fracPart.empty()) {
    text += decimalSeparator;
    text += value.fracPart;
  }
  return text;
}

//! An exact decimal with no trailing zeros: "2,5", "3", "-0,0001".
std::string ShortestFixedText(const Decimal& value, char decimalSeparator) {
  int fracDigits = std::max(0, static_cast<int>(value.digits.size()) - value.pointPos);
  return FixedText(detail::RoundDecimal(value, fracDigits, HalfRounding::kEven), decimalSeparator);
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// ---------------------------------------------------------------------------------------------
// Format

struct Directive {
  std::string_view text;  //!< "%5.2f", for error messages
  bool leftAlign = false;
  int width = -1;
  int precision = -1;
  char type = 0;  //!< lower case
};

[[noreturn]] void RaiseBadDirective(std::string_view directive, std::string_view format) {
  RaiseClientError("Ongeldig formaat '" + std::string(directive) + "' of argument in \"" +
                   std::string(format) + "\"");
}

//! Parses the directive starting at format[pos] == '%'; pos ends after it.
Directive ParseDirective(std::string_view format, size_t& pos) {
  Directive directive;
  size_t start = pos++;
  auto readNumber = [&](int& out) {
    if (pos >= format.size() || !IsDigit(format[pos])) return false;
    out = 0;
    while (pos < format.size() && IsDigit(format[pos])) {
      out = out * 10 + (format[pos++] - '0');
      if (out > 999) RaiseBadDirective(format.substr(start, pos - start), format);
    }
    return true;
  };
  if (pos < format.size() && format[pos] == '-') {
    directive.leftAlign = true;
    ++pos;
  }
  readNumber(directive.width);
  if (pos < format.size() && format[pos] == '.') {
    ++pos;
    if (!readNumber(directive.precision)) directive.precision = 0;
  }
  if (pos >= format.size()) RaiseBadDirective(format.substr(start), format);
  directive.type = Lower(format[pos++]);
  directive.text = format.substr(start, pos - start);
  return directive;
}

std::string FormatInteger(const Variant& arg, const Directive& directive, std::string_view format) {
  if (arg.Type() != VariantType::Integer) RaiseBadDirective(directive.text, format);
  int64_t value = arg.Get<int64_t>();
  std::string digits;
  bool negative = false;
  if (directive.type == 'x') {
    char buffer[20];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint64_t>(value), 16).ptr;
    digits.assign(buffer, end);
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 32) : c; });
  } else {
    negative = value < 0;
    digits = std::to_string(negative ? 0 - static_cast<uint64_t>(value) : value);
  }
  if (directive.precision > 0) digits = PadLeft(std::move(digits), directive.precision, '0');
  return negative ? "-" + digits : digits;
}

std::string FormatFixedPoint(const Variant& arg, const Directive& directive,
                             std::string_view format, const FormatSettings& fs) {
  int precision = directive.precision >= 0 ? directive.precision : 2;
  switch (arg.Type()) {
    case VariantType::Float: {
      double value = arg.Get<double>();
      if (!std::isfinite(value)) return NonFiniteText(value);
      return FixedText(detail::RoundDecimal(detail::DecimalFromDouble(value), precision,
                                            HalfRounding::kAwayFromZero),
                       fs.DecimalSeparator);
    }
    case VariantType::Currency:
      return FixedText(detail::RoundDecimal(detail::DecimalFromScaled(arg.Get<Currency>().Raw(), 4),
                                            precision, HalfRounding::kEven),
                       fs.DecimalSeparator);
    case VariantType::Integer:
      return FixedText(detail::RoundDecimal(detail::DecimalFromScaled(arg.Get<int64_t>(), 0),
                                            precision, HalfRounding::kEven),
                       fs.DecimalSeparator);
    default:
      RaiseBadDirective(directive.text, format);
  }
}

std::string FormatText(const Variant& arg, const Directive& directive, const FormatSettings& fs) {
  std::string text = arg.AsString(fs);
  if (directive.precision >= 0 && CharCount(text) > static_cast<size_t>(directive.precision)) {
    size_t cut = 0;
    for (int chars = 0; cut < text.size(); ++cut) {
      if ((text[cut] & 0xC0) != 0x80 && chars++ == directive.precision) break;
    }
    text.resize(cut);
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// FormatFloat / FormatCurr

//! One section of a number pattern, and where its digits go.
struct NumberLayout {
  int minInt = 0;      //!< '0' placeholders from the first '0' up to the decimal point
  int fracDigits = 0;  //!< placeholders after the decimal point
  int minFrac = 0;     //!< up to and including the last '0' after the decimal point
  bool thousands = false;
};

//! Calls visit(c, inFraction) for every pattern character outside quotes, and literal(text) for
//! quoted text.
template <class Visit, class Literal>
void WalkPattern(std::string_view section, Visit visit, Literal literal) {
  bool inFraction = false;
  for (size_t i = 0; i < section.size(); ++i) {
    char c = section[i];
    if (c == '"' || c == '\'') {
      size_t close = section.find(c, i + 1);
      if (close == std::string_view::npos) close = section.size();
      literal(section.substr(i + 1, close - i - 1));
      i = close;
      continue;
    }
    visit(c, inFraction);
    if (c == '.') inFraction = true;
  }
}

NumberLayout AnalysePattern(std::string_view section) {
  NumberLayout layout;
  bool seenIntZero = false;
  WalkPattern(
      section,
      [&](char c, bool inFraction) {
        if (!inFraction) {
          if (c == '0') seenIntZero = true;
          if ((c == '0' || c == '#') && seenIntZero) ++layout.minInt;
          if (c == ',') layout.thousands = true;
        } else if (c == '0' || c == '#') {
          ++layout.fracDigits;
          if (c == '0') layout.minFrac = layout.fracDigits;
        }
      },
      [](std::string_view) {});
  return layout;
}

std::string GroupThousands(const std::string& digits, char separator) {
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

std::string RenderNumber(std::string_view section, const NumberLayout& layout,
                         const RoundedDecimal& value, bool withSign, const FormatSettings& fs) {
  std::string intText = PadLeft(value.intPart, layout.minInt, '0');
  if (layout.thousands) intText = GroupThousands(intText, fs.ThousandSeparator);
  std::string fracText = value.fracPart;
  while (static_cast<int>(fracText.size()) > layout.minFrac && fracText.back() == '0')
    fracText.pop_back();

  std::string out = withSign && value.negative ? "-" : "";
  bool intWritten = false;
  bool pointSeen = false;
  size_t fracIndex = 0;
  WalkPattern(
      section,
      [&](char c, bool inFraction) {
        if (!inFraction && (c == '0' || c == '#')) {
          // All integer digits go where the first placeholder is; the others are covered by it.
          if (!intWritten) out += intText;
          intWritten = true;
        } else if (!inFraction && c == ',') {
        } else if (c == '.' && !pointSeen) {
          pointSeen = true;
          if (!intWritten) out += intText;
          intWritten = true;
          if (!fracText.empty()) out += fs.DecimalSeparator;
        } else if (inFraction && (c == '0' || c == '#')) {
          if (fracIndex < fracText.size()) out += fracText[fracIndex];
          ++fracIndex;
        } else {
          out += c;
        }
      },
      [&](std::string_view text) { out += text; });
  return out;
}

std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';' && sections.size() < 2) {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

//! Sections "positive;negative;zero": an empty or missing negative section means the positive
//! one with a minus sign, a missing zero section the positive one.
std::string FormatDecimal(std::string_view pattern, const Decimal& value, HalfRounding halves,
                          const FormatSettings& fs) {
  std::vector<std::string_view> sections = SplitSections(pattern);
  std::string_view section = sections[0];
  bool withSign = true;
  if (value.negative && sections.size() >= 2 && !sections[1].empty()) {
    section = sections[1];
    withSign = false;
  }
  NumberLayout layout = AnalysePattern(section);
  RoundedDecimal rounded = detail::RoundDecimal(value, layout.fracDigits, halves);
  if (rounded.IsZero() && sections.size() >= 3 && !sections[2].empty()) {
    section = sections[2];
    layout = AnalysePattern(section);
    rounded = detail::RoundDecimal(value, layout.fracDigits, halves);
  }
  return RenderNumber(section, layout, rounded, withSign, fs);
}

// ---------------------------------------------------------------------------------------------
// FormatDateTime

constexpr const char* kDayNames[] = {"maandag", "dinsdag",  "woensdag", "donderdag",
                                     "vrijdag", "zaterdag", "zondag"};
constexpr const char* kShortDayNames[] = {"ma", "di", "wo", "do", "vr", "za", "zo"};
constexpr const char* kMonthNames[] = {"januari",   "februari", "maart",    "april",
                                       "mei",       "juni",     "juli",     "augustus",
                                       "september", "oktober",  "november", "december"};
constexpr const char* kShortMonthNames[] = {"jan", "feb", "mrt", "apr", "mei", "jun",
                                            "jul", "aug", "sep", "okt", "nov", "dec"};

std::string TwoDigits(int value) {
  return PadLeft(std::to_string(value), 2, '0');
}

void AppendDateTime(std::string& out, std::string_view pattern, TDateTime moment,
                    const FormatSettings& fs, int depth) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(moment, year, month, day);
  DecodeTime(moment, hour, minute, second, msec);
  bool afterHour = false;  // "mm" right after an hour token means minutes
  // Tokens that expand to a settings format ("ddddd", "c", "t") may not recurse without end.
  auto nested = [&](const std::string& format) {
    if (depth < 2) AppendDateTime(out, format, moment, fs, depth + 1);
  };
  for (size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    char token = Lower(c);
    size_t run = 1;
    while (i + run < pattern.size() && Lower(pattern[i + run]) == token) ++run;
    if (c == '"' || c == '\'') {
      size_t close = pattern.find(c, i + 1);
      if (close == std::string_view::npos) close = pattern.size();
      out.append(pattern.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    bool hourToken = false;
    switch (token) {
      case 'd':
        if (run <= 2)
          out += run == 1 ? std::to_string(day) : TwoDigits(day);
        else if (run == 3)
          out += kShortDayNames[DayOfTheWeek(moment) - 1];
        else if (run == 4)
          out += kDayNames[DayOfTheWeek(moment) - 1];
        else
          nested(fs.ShortDateFormat);
        break;
      case 'm':
        if (run <= 2 && afterHour)
          out += run == 1 ? std::to_string(minute) : TwoDigits(minute);
        else if (run <= 2)
          out += run == 1 ? std::to_string(month) : TwoDigits(month);
        else if (run == 3)
          out += kShortMonthNames[month - 1];
        else
          out += kMonthNames[month - 1];
        break;
      case 'y':
        out += run <= 2 ? TwoDigits(year % 100) : PadLeft(std::to_string(year), 4, '0');
        break;
      case 'h':
        out += run == 1 ? std::to_string(hour) : TwoDigits(hour);
        hourToken = true;
        break;
      case 'n':
        out += run == 1 ? std::to_string(minute) : TwoDigits(minute);
        break;
      case 's':
        out += run == 1 ? std::to_string(second) : TwoDigits(second);
        break;
      case 'z':
        out += run < 3 ? std::to_string(msec) : PadLeft(std::to_string(msec), 3, '0');
        break;
      case 'c':
        nested(fs.ShortDateFormat);
        if (hour || minute || second || msec) {
          out += ' ';
          nested(fs.LongTimeFormat);
        }
        break;
      case 't':
        nested(run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat);
        break;
      case '/':
        out.append(run, fs.DateSeparator);
        i += run;
        continue;
      case ':':
        out.append(run, fs.TimeSeparator);
        i += run;
        continue;
      default:
        out.append(pattern.substr(i, run));
        i += run;
        continue;
    }
    afterHour = hourToken;
    i += run;
  }
}

// ---------------------------------------------------------------------------------------------
// Parsing

//! Unsigned decimal digits only, at most `maxDigits`.
bool ParseDigits(std::string_view text, size_t maxDigits, int& out) {
  if (text.empty() || text.size() > maxDigits) return false;
  out = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    out = out * 10 + (c - '0');
  }
  return true;
}

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t pos; (pos = text.find(separator, start)) != std::string_view::npos; start = pos + 1)
    parts.push_back(text.substr(start, pos - start));
  parts.push_back(text.substr(start));
  return parts;
}

//! The order of day, month and year in a short date format, as 'd', 'm', 'y'.
std::string DateOrder(std::string_view shortDateFormat) {
  std::string order;
  for (char c : shortDateFormat) {
    char token = Lower(c);
    if ((token == 'd' || token == 'm' || token == 'y') && order.find(token) == std::string::npos)
      order += token;
  }
  return order.size() == 3 ? order : "dmy";
}

}  // namespace

std::string FormatV(std::string_view format, std::span<const Variant> args,
                    const FormatSettings& fs) {
  std::string out;
  size_t nextArg = 0;
  for (size_t pos = 0; pos < format.size();) {
    size_t percent = format.find('%', pos);
    out.append(format.substr(pos, percent - pos));
    if (percent == std::string_view::npos) break;
    pos = percent;
    if (pos + 1 < format.size() && format[pos + 1] == '%') {
      out += '%';
      pos += 2;
      continue;
    }
    Directive directive = ParseDirective(format, pos);
    if (directive.type != 's' && directive.type != 'd' && directive.type != 'x' &&
        directive.type != 'f')
      RaiseBadDirective(directive.text, format);
    if (nextArg >= args.size())
      RaiseClientError("Ontbrekend argument voor '" + std::string(directive.text) + "' in \"" +
                       std::string(format) + "\"");
    const Variant& arg = args[nextArg++];
    std::string text;
    switch (directive.type) {
      case 's':
        text = FormatText(arg, directive, fs);
        break;
      case 'f':
        text = FormatFixedPoint(arg, directive, format, fs);
        break;
      default:
        text = FormatInteger(arg, directive, format);
        break;
    }
    size_t count = CharCount(text);
    if (directive.width > 0 && count < static_cast<size_t>(directive.width)) {
      if (directive.leftAlign)
        text.append(directive.width - count, ' ');
      else
        text.insert(0, directive.width - count, ' ');
    }
    out += text;
  }
  return out;
}

std::string FormatFloat(std::string_view pattern, double value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  if (pattern.empty()) return FloatToStr(value, fs);
  return FormatDecimal(pattern, detail::DecimalFromDouble(value), HalfRounding::kAwayFromZero, fs);
}

std::string FormatCurr(std::string_view pattern, Currency value, const FormatSettings& fs) {
  if (pattern.empty()) return CurrToStr(value, fs);
  return FormatDecimal(pattern, detail::DecimalFromScaled(value.Raw(), 4), HalfRounding::kEven, fs);
}

std::string FloatToStr(double value, const FormatSettings& fs) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  Decimal decimal = detail::DecimalFromDouble(value);
  if (decimal.digits.empty()) return "0";
  int exponent = decimal.pointPos - 1;
  if (exponent < 15 && exponent >= -4) return ShortestFixedText(decimal, fs.DecimalSeparator);
  // Very large and very small values in scientific form: "1,5E20", "-2E-7".
  std::string text = decimal.negative ? "-" : "";
  text += decimal.digits[0];
  if (decimal.digits.size() > 1) {
    text += fs.DecimalSeparator;
    text.append(decimal.digits, 1);
  }
  return text + "E" + std::to_string(exponent);
}

std::string CurrToStr(Currency value, const FormatSettings& fs) {
  return ShortestFixedText(detail::DecimalFromScaled(value.Raw(), 4), fs.DecimalSeparator);
}

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::string FormatDateTime(std::string_view pattern, TDateTime moment, const FormatSettings& fs) {
  std::string out;
  AppendDateTime(out, pattern, moment, fs, 0);
  return out;
}

std::string DateToStr(TDateTime date, const FormatSettings& fs) {
  return FormatDateTime(fs.ShortDateFormat, date, fs);
}

std::string TimeToStr(TDateTime time, const FormatSettings& fs) {
  return FormatDateTime(fs.LongTimeFormat, time, fs);
}

std::string DateTimeToStr(TDateTime moment, const FormatSettings& fs) {
  return FormatDateTime("c", moment, fs);
}

bool TryStrToInt(std::string_view text, int64_t& out) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  uint64_t magnitude = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  if (base == 16) {
    // Hexadecimal is a bit pattern: $FFFFFFFFFFFFFFFF is -1.
    uint64_t bits = negative ? 0 - magnitude : magnitude;
    out = static_cast<int64_t>(bits);
    return true;
  }
  constexpr uint64_t kMaxPositive = std::numeric_limits<int64_t>::max();
  if (magnitude > kMaxPositive + (negative ? 1 : 0)) return false;
  out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

int64_t StrToIntDef(std::string_view text, int64_t def) {
  int64_t value;
  return TryStrToInt(text, value) ? value : def;
}

bool TryStrToFloat(std::string_view text, double& out, const FormatSettings& fs) {
  text = Trim(text);
  Decimal decimal;
  if (!detail::ParseDecimal(text, fs.DecimalSeparator, decimal)) return false;
  std::string normalised(text);
  std::replace(normalised.begin(), normalised.end(), fs.DecimalSeparator, '.');
  size_t start = normalised[0] == '+' ? 1 : 0;
  double value = 0;
  auto [end, ec] =
      std::from_chars(normalised.data() + start, normalised.data() + normalised.size(), value);
  if (ec != std::errc() || end != normalised.data() + normalised.size() || !std::isfinite(value))
    return false;
  out = value;
  return true;
}

double StrToFloatDef(std::string_view text, double def, const FormatSettings& fs) {
  double value;
  return TryStrToFloat(text, value, fs) ? value : def;
}

bool TryStrToCurr(std::string_view text, Currency& out, const FormatSettings& fs) {
  Decimal decimal;
  if (!detail::ParseDecimal(Trim(text), fs.DecimalSeparator, decimal)) return false;
  // A value far beyond the range would only make RoundDecimal build a long digit string.
  if (decimal.pointPos > 20) return false;
  int64_t raw = 0;
  if (!detail::ScaledFromRounded(detail::RoundDecimal(decimal, 4, HalfRounding::kEven), raw))
    return false;
  out = Currency::FromRaw(raw);
  return true;
}

Currency StrToCurrDef(std::string_view text, Currency def, const FormatSettings& fs) {
  Currency value;
  return TryStrToCurr(text, value, fs) ? value : def;
}

bool TryStrToDate(std::string_view text, TDateTime& out, const FormatSettings& fs) {
  std::vector<std::string_view> parts = SplitOn(Trim(text), fs.DateSeparator);
  std::string order = DateOrder(fs.ShortDateFormat);
  // Two parts are day and month (in their order) of the current year.
  if (parts.size() == 2) order.erase(order.find('y'), 1);
  if (parts.size() != order.size()) return false;
  int year = parts.size() == 2 ? YearOf(Date()) : 0, month = 0, day = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string_view part = Trim(parts[i]);
    switch (order[i]) {
      case 'd':
        if (!ParseDigits(part, 2, day)) return false;
        break;
      case 'm':
        if (!ParseDigits(part, 2, month)) return false;
        break;
      default:
        if (!ParseDigits(part, 4, year)) return false;
        if (part.size() <= 2) year += year < 50 ? 2000 : 1900;
        break;
    }
  }
  return TryEncodeDate(year, month, day, out);
}

bool TryStrToTime(std::string_view text, TDateTime& out, const FormatSettings& fs) {
  std::vector<std::string_view> parts = SplitOn(Trim(text), fs.TimeSeparator);
  if (parts.size() < 2 || parts.size() > 3) return false;
  int hour = 0, minute = 0, second = 0;
  if (!ParseDigits(Trim(parts[0]), 2, hour) || !ParseDigits(Trim(parts[1]), 2, minute))
    return false;
  if (parts.size() == 3 && !ParseDigits(Trim(parts[2]), 2, second)) return false;
  return TryEncodeTime(hour, minute, second, 0, out);
}

bool TryStrToDateTime(std::string_view text, TDateTime& out, const FormatSettings& fs) {
  text = Trim(text);
  size_t blank = text.find(' ');
  TDateTime date;
  if (!TryStrToDate(text.substr(0, blank), date, fs)) return false;
  TDateTime time;
  if (blank != std::string_view::npos && !TryStrToTime(text.substr(blank + 1), time, fs))
    return false;
  out = date + time.value;
  return true;
}

}  // namespace quil
