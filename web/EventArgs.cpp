#include "web/EventArgs.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "web/SessionApp.h"

namespace quil::web {

std::string TextArg(const nlohmann::json& event, const char* key) {
  auto it = event.find(key);
  if (it == event.end() || !it->is_string()) {
    throw BadRequest(std::string("'") + key + "' ontbreekt of is geen tekst");
  }
  return it->get<std::string>();
}

int NumberArg(const nlohmann::json& event, const char* key) {
  auto it = event.find(key);
  // Never wrapped nor clamped: 4294967297 is no form id 1.
  constexpr int64_t kMin = std::numeric_limits<int>::min();
  constexpr int64_t kMax = std::numeric_limits<int>::max();
  if (it != event.end() && it->is_number_unsigned()) {
    const uint64_t value = it->get<uint64_t>();
    if (value <= static_cast<uint64_t>(kMax)) return static_cast<int>(value);
  } else if (it != event.end() && it->is_number_integer()) {
    const int64_t value = it->get<int64_t>();
    if (value >= kMin && value <= kMax) return static_cast<int>(value);
  } else if (it != event.end() && it->is_string()) {
    const std::string& text = it->get_ref<const std::string&>();
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty()) return value;
  }
  throw BadRequest(std::string("'") + key + "' ontbreekt of is geen geheel getal binnen bereik");
}

}  // namespace quil::web
