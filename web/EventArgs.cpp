#include "web/EventArgs.h"

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
  if (it != event.end() && it->is_number_integer()) return it->get<int>();
  if (it != event.end() && it->is_string()) {
    try {
      return std::stoi(it->get<std::string>());
    } catch (const std::exception&) {
    }
  }
  throw BadRequest(std::string("'") + key + "' ontbreekt of is geen getal");
}

}  // namespace quil::web
