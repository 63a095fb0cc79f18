#include "host/data/AppServer.h"

#include "host/base/Strings.h"

namespace quil {

Variant TQuildminDBParams::Get(std::string_view name) const {
  auto it = values.find(UpperCaseAscii(name));
  return it == values.end() ? Variant() : it->second;
}

}  // namespace quil
