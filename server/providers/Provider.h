// Providers as data: what a named provider reads and what it may write.
//
// A provider is a SELECT with named parameters (":IS_ID"), the table its changes go to, that
// table's key field, and the fields it delivers without storing them. Field types are not written
// here: they come from the declared types of the schema columns the SELECT reads. Only a computed
// column (an expression, an aggregate) needs a type override, and an override may also narrow the
// size a joined text column is shown with.
//
// The catalogue is built once at start-up from the subsystem files (ReferenceProviders.cpp,
// ClassProviders.cpp, ...) and is read-only afterwards, so every session shares it.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/data/Packet.h"

namespace quil::server {

// Short names for the field types of parameters and overrides, as the provider files write them.
inline constexpr FieldType kInt = FieldType::Integer;
inline constexpr FieldType kDate = FieldType::Date;
inline constexpr FieldType kText = FieldType::String;

struct ProviderParam {
  std::string name;
  FieldType type = FieldType::Integer;
};

struct FieldOverride {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;
  int scale = 0;
};

struct ProviderDef {
  std::string name{};
  std::string sql{};
  std::vector<ProviderParam> params{};
  std::string updateTable{};  //!< empty for a read-only provider
  std::string keyField{};
  //! Columns of the update table the provider delivers but never writes.
  std::vector<std::string> readOnlyFields{};
  std::vector<FieldOverride> overrides{};
};

class ProviderCatalogue {
 public:
  //! Adds a provider; a second provider of the same name is a programming error (asserted).
  void Add(ProviderDef def);
  //! Case-insensitive; nullptr when absent.
  const ProviderDef* Find(std::string_view name) const;
  std::vector<const ProviderDef*> All() const;

 private:
  std::map<std::string, ProviderDef> byName_;  //!< keyed by upper-case name
};

//! Every provider of the application, built on first use.
const ProviderCatalogue& StandardProviders();

void AddReferenceProviders(ProviderCatalogue& catalogue);
void AddClassProviders(ProviderCatalogue& catalogue);
void AddPlanningProviders(ProviderCatalogue& catalogue);
void AddDavinciProviders(ProviderCatalogue& catalogue);
void AddStructureProviders(ProviderCatalogue& catalogue);
void AddModuleVariantProviders(ProviderCatalogue& catalogue);

}  // namespace quil::server
