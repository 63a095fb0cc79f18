// Small text helpers shared by the layers: ASCII case folding and case-insensitive comparison of
// identifiers (field, parameter, provider and class names are ASCII).
#pragma once

#include <string>
#include <string_view>

namespace quil {

inline char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

inline std::string UpperCaseAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

//! The text without leading and trailing blanks (spaces, tabs, line breaks); a view into `s`.
inline std::string_view Trim(std::string_view s) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

//! At most `maxBytes` bytes of `s`, cut at a character boundary (UTF-8) and ended with "…" when
//! cut: what a message may echo of a name or a value the user sent.
inline std::string EchoText(std::string_view s, size_t maxBytes = 100) {
  if (s.size() <= maxBytes) return std::string(s);
  size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
  return std::string(s.substr(0, end)) + "…";
}

//! The longest message shown to a user; a longer one is cut (EchoText).
inline constexpr size_t kMaxMessageBytes = 2000;

}  // namespace quil
