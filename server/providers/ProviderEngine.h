// ProviderEngine: runs the catalogue's providers over one connection.
//
// GetRecords binds the provider's parameters (always bound, never pasted into the SQL) and reads
// the rows into a packet whose field definitions come from the schema. ApplyUpdates writes a delta
// to the provider's table in one transaction:
//
// - insert: the fields of the table that have a value (a missing key takes the table's
//   generator);
// - modify: SET the changed fields WHERE the key and every changed field still hold their
//   original values;
// - delete: WHERE the key and every field of the table still hold their original values.
//
// A modify that changes the key fails with kKeyChanged: a record keeps its key.
// A modify or delete that matches no row was changed or removed by another session; it fails with
// kChangedByOtherUser and nothing is overwritten. A row that violates a constraint fails with a
// Dutch message; the engine's statement rollback leaves the transaction usable. When more rows
// fail than maxErrors allows (-1 = no limit) the whole transaction is rolled back and the result
// says so.
//
// One engine per connection, used by one session at a time. Statements are prepared once per
// provider and shape of change and kept for the life of the engine.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/data/Packet.h"
#include "server/db/Database.h"
#include "server/providers/Provider.h"

namespace quil::server {

inline constexpr std::string_view kChangedByOtherUser =
    "Record werd intussen gewijzigd door een andere gebruiker";
//! Format with the key field's name.
inline constexpr std::string_view kKeyChanged = "De sleutel '%s' van een record kan niet wijzigen";

class ProviderEngine {
 public:
  ProviderEngine(Database& db, const ProviderCatalogue& catalogue);
  ~ProviderEngine();

  DataPacket GetRecords(std::string_view provider, const Params& params);
  Params FetchParams(std::string_view provider);
  ApplyResult ApplyUpdates(std::string_view provider, const Delta& delta, int maxErrors);
  //! The field definitions of the provider's packet (no rows are read).
  const std::vector<FieldDef>& Fields(std::string_view provider);
  //! The table whose generator a provider name selects; the name itself when it is no provider.
  std::string GeneratorFor(std::string_view name) const;
  //! Next value of a generator (see Database::NextGeneratorValue).
  int64_t NextGeneratorValue(std::string_view generator);

 private:
  struct Prepared;
  Prepared& Get(std::string_view provider);

  Database& db_;
  const ProviderCatalogue& catalogue_;
  std::unordered_map<std::string, std::unique_ptr<Prepared>> prepared_;
};

}  // namespace quil::server
