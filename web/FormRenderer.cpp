#include "web/FormRenderer.h"

#include <type_traits>

#include "host/forms/FormDescription.h"

namespace quil::web {

using nlohmann::json;

json ToJson(const TDescription& description) {
  return std::visit(
      [](const auto& value) -> json {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          return nullptr;
        } else if constexpr (std::is_same_v<T, TDescription::List>) {
          json items = json::array();
          for (const TDescription& item : value) items.push_back(ToJson(item));
          return items;
        } else if constexpr (std::is_same_v<T, TDescription::Properties>) {
          json object = json::object();
          for (const auto& [name, property] : value) object[name] = ToJson(property);
          return object;
        } else {
          return value;
        }
      },
      description.Value());
}

json RenderForm(TQuilForm& form) {
  return ToJson(DescribeForm(form));
}

json RenderRows(const TDBGrid& grid, int top, int count) {
  return ToJson(grid.DescribeRows(top, count));
}

}  // namespace quil::web
