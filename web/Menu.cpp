#include "web/Menu.h"

#include <map>

#include "host/base/Strings.h"
#include "host/forms/FormManager.h"

namespace quil::web {

namespace {

using nlohmann::json;

template <class Allowed>
json MenuNode(const TMenuNode& node, Allowed& allowed) {
  if (!node.FormClass.empty()) {
    if (!allowed(node.FormClass)) return nullptr;
    return {{"caption", node.Caption}, {"class", node.FormClass}};
  }
  json items = json::array();
  for (const TMenuNode& item : node.Items) {
    json child = MenuNode(item, allowed);
    if (!child.is_null()) items.push_back(std::move(child));
  }
  if (items.empty()) return nullptr;  // nothing the user may open below it
  return {{"caption", node.Caption}, {"items", std::move(items)}};
}

}  // namespace

json RenderMenu(const std::function<bool(const std::string& formClass)>& mayOpen) {
  std::map<std::string, bool> answered;
  auto allowed = [&](const std::string& formClass) {
    auto [it, added] = answered.try_emplace(UpperCaseAscii(formClass), false);
    if (added) it->second = mayOpen(formClass);
    return it->second;
  };
  json sections = json::array();
  for (const TMenuNode& section : FormManager().MenuTree()) {
    json node = MenuNode(section, allowed);
    if (!node.is_null()) sections.push_back(std::move(node));
  }
  return {{"sections", std::move(sections)}};
}

}  // namespace quil::web
