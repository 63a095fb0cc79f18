// TSettingsFile: a user's settings of one screen, in sections of keys with text values.
//
// The host hands one to a screen's save and restore events; it is stored per user through the
// application server under the screen's class name, as INI-style text:
//
//   [Periode]
//   Soort=2
//   Van=45900
//
// Sections and keys keep the order in which they were first written and are found without regard
// to case. A line break or backslash in a value is written as \n, \r or \\ so that every value
// survives a round trip. Numbers are written locale-free ('.' as decimal point, shortest form that
// reads back exactly), so settings do not depend on the format settings of the day.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/base/DateTime.h"

namespace quil {

class TSettingsFile {
 public:
  TSettingsFile() = default;
  //! Reads the stored text; lines that are no section header or key=value are skipped.
  static TSettingsFile FromText(std::string_view text);
  std::string Text() const;
  bool IsEmpty() const { return sections_.empty(); }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  //! The default when the key is absent or its value is no integer.
  int64_t ReadInteger(std::string_view section, std::string_view key, int64_t defaultValue) const;
  void WriteInteger(std::string_view section, std::string_view key, int64_t value);
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  void WriteBool(std::string_view section, std::string_view key, bool value);
  double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;
  void WriteFloat(std::string_view section, std::string_view key, double value);
  TDateTime ReadDateTime(std::string_view section, std::string_view key,
                         TDateTime defaultValue) const;
  void WriteDateTime(std::string_view section, std::string_view key, TDateTime value);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  //! The keys of a section, in order.
  std::vector<std::string> ReadSection(std::string_view section) const;
  std::vector<std::string> ReadSections() const;
  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
  };
  const std::string* Find(std::string_view section, std::string_view key) const;
  Section* FindSection(std::string_view section);
  const Section* FindSection(std::string_view section) const;

  std::vector<Section> sections_;
};

}  // namespace quil
