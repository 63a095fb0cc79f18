#include "server/providers/Provider.h"

#include <cassert>

#include "host/base/Strings.h"

namespace quil::server {

void ProviderCatalogue::Add(ProviderDef def) {
  std::string key = UpperCaseAscii(def.name);
  [[maybe_unused]] bool added = byName_.emplace(key, std::move(def)).second;
  assert(added && "provider registered twice");
}

const ProviderDef* ProviderCatalogue::Find(std::string_view name) const {
  auto it = byName_.find(UpperCaseAscii(name));
  return it == byName_.end() ? nullptr : &it->second;
}

std::vector<const ProviderDef*> ProviderCatalogue::All() const {
  std::vector<const ProviderDef*> all;
  for (const auto& [key, def] : byName_) all.push_back(&def);
  return all;
}

const ProviderCatalogue& StandardProviders() {
  static const ProviderCatalogue catalogue = [] {
    ProviderCatalogue c;
    AddReferenceProviders(c);
    AddClassProviders(c);
    AddPlanningProviders(c);
    AddDavinciProviders(c);
    AddStructureProviders(c);
    AddModuleVariantProviders(c);
    return c;
  }();
  return catalogue;
}

}  // namespace quil::server
