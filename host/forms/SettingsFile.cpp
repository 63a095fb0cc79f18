#include "host/forms/SettingsFile.h"

#include <charconv>

#include "host/base/Strings.h"
#include "host/base/SysUtils.h"

namespace quil {

namespace {

std::string Escape(std::string_view value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    char next = value[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

std::string DoubleText(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

bool ParseDouble(std::string_view text, double& out) {
  auto result = std::from_chars(text.data(), text.data() + text.size(), out);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

TSettingsFile TSettingsFile::FromText(std::string_view text) {
  TSettingsFile file;
  std::string current;
  bool inSection = false;
  while (!text.empty()) {
    size_t eol = text.find('\n');
    std::string_view line = Trim(text.substr(0, eol));
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = std::string(line.substr(1, line.size() - 2));
      inSection = true;
      if (file.FindSection(current) == nullptr) file.sections_.push_back({current, {}});
      continue;
    }
    size_t eq = line.find('=');
    if (!inSection || eq == std::string_view::npos || eq == 0) continue;
    file.WriteString(current, line.substr(0, eq), Unescape(line.substr(eq + 1)));
  }
  return file;
}

std::string TSettingsFile::Text() const {
  std::string out;
  for (const Section& section : sections_) {
    out += "[" + section.name + "]\n";
    for (const auto& [key, value] : section.values) out += key + "=" + Escape(value) + "\n";
  }
  return out;
}

TSettingsFile::Section* TSettingsFile::FindSection(std::string_view section) {
  for (Section& s : sections_) {
    if (SameText(s.name, section)) return &s;
  }
  return nullptr;
}

const TSettingsFile::Section* TSettingsFile::FindSection(std::string_view section) const {
  return const_cast<TSettingsFile*>(this)->FindSection(section);
}

const std::string* TSettingsFile::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  for (const auto& [k, v] : s->values) {
    if (SameText(k, key)) return &v;
  }
  return nullptr;
}

std::string TSettingsFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
  const std::string* value = Find(section, key);
  return value != nullptr ? *value : std::string(defaultValue);
}

void TSettingsFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  Section* s = FindSection(section);
  if (s == nullptr) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  for (auto& [k, v] : s->values) {
    if (SameText(k, key)) {
      v = std::string(value);
      return;
    }
  }
  s->values.emplace_back(std::string(key), std::string(value));
}

int64_t TSettingsFile::ReadInteger(std::string_view section, std::string_view key,
                                   int64_t defaultValue) const {
  const std::string* value = Find(section, key);
  int64_t out = 0;
  return value != nullptr && TryStrToInt(*value, out) ? out : defaultValue;
}

void TSettingsFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
  WriteString(section, key, IntToStr(value));
}

bool TSettingsFile::ReadBool(std::string_view section, std::string_view key,
                             bool defaultValue) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return defaultValue;
  if (*value == "1") return true;
  if (*value == "0") return false;
  return defaultValue;
}

void TSettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

double TSettingsFile::ReadFloat(std::string_view section, std::string_view key,
                                double defaultValue) const {
  const std::string* value = Find(section, key);
  double out = 0;
  return value != nullptr && ParseDouble(*value, out) ? out : defaultValue;
}

void TSettingsFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, DoubleText(value));
}

TDateTime TSettingsFile::ReadDateTime(std::string_view section, std::string_view key,
                                      TDateTime defaultValue) const {
  return TDateTime(ReadFloat(section, key, defaultValue.value));
}

void TSettingsFile::WriteDateTime(std::string_view section, std::string_view key, TDateTime value) {
  WriteFloat(section, key, value.value);
}

bool TSettingsFile::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool TSettingsFile::ValueExists(std::string_view section, std::string_view key) const {
  return Find(section, key) != nullptr;
}

std::vector<std::string> TSettingsFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = FindSection(section)) {
    for (const auto& [k, v] : s->values) keys.push_back(k);
  }
  return keys;
}

std::vector<std::string> TSettingsFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

void TSettingsFile::EraseSection(std::string_view section) {
  std::erase_if(sections_, [&](const Section& s) { return SameText(s.name, section); });
}

void TSettingsFile::DeleteKey(std::string_view section, std::string_view key) {
  if (Section* s = FindSection(section)) {
    std::erase_if(s->values, [&](const auto& kv) { return SameText(kv.first, key); });
  }
}

}  // namespace quil
