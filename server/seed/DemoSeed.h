// The pieces the demo data is built from, shared by the files that write it (DemoData.cpp: the
// centres, staff, reference lists, modules and classes; DemoStructure.cpp: the programme
// structure, certificates and what hangs off a class).
//
// Every row is inserted with an explicit key, handed out per table by Seed::Next in insertion
// order, so that the same working year always gives the same database. The steps run in one
// transaction on one connection; nothing here is thread-safe or meant for use outside the seed.
#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/base/Variant.h"
#include "server/db/Database.h"

namespace quil::server::demo {

using Values = std::vector<std::pair<std::string, Variant>>;

//! Inserts rows with explicit keys, one prepared statement per table and column list.
class Writer {
 public:
  explicit Writer(Database& db) : db_(db) {}

  void Insert(const std::string& table, const Values& values);

 private:
  Database& db_;
  std::map<std::string, std::unique_ptr<Statement>> statements_;
};

//! A fixed-seed generator, so that every run gives the same data.
class Dice {
 public:
  int Roll(int sides) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((state_ >> 33) % static_cast<uint64_t>(sides));
  }

 private:
  uint64_t state_ = 20250901;
};

inline Variant Int(long long v) {
  return Variant(v);
}
inline Variant Text(const char* v) {
  return Variant(v);
}
inline Variant Text(std::string v) {
  return Variant(std::move(v));
}
//! 'YYYY-MM-DD' of a calendar day.
std::string Day(int year, int month, int day);

inline constexpr const char* kChangedOn = "2025-08-25 10:00:00";

//! The modules every centre teaches: code, description, lesson times of variant A (variant B
//! has 20 more), the official programme they belong to (index into kProgrammes) and the
//! official subject they are taught in (index into kSubjects).
struct ModuleSeed {
  const char* code;
  const char* description;
  int hours;
  int programme;
  int subject;
};
inline constexpr ModuleSeed kModules[] = {
    {"NT2R1", "Nederlands tweede taal richtgraad 1", 120, 0, 0},
    {"NT2R2", "Nederlands tweede taal richtgraad 2", 120, 0, 0},
    {"ENGA1", "Engels breakthrough", 80, 1, 1},
    {"FRAA1", "Frans breakthrough", 80, 2, 2},
    {"ICTBAS", "Digitale basisvaardigheden", 40, 4, 4},
    {"BOEKH1", "Boekhouden basis", 60, 5, 5},
    {"SPAA1", "Spaans breakthrough", 80, 3, 3},
    {"KOOK1", "Basiskeuken", 60, 6, 6},
};
inline constexpr int kModuleCount = static_cast<int>(std::size(kModules));

//! The module variant id of variant `v` (0 = A, 1 = B) of module `m`.
inline int ModuleVariantId(int m, int v) {
  return m * 2 + v + 1;
}

//! An organised module variant of a demo class, as the later steps need it.
struct OrganisedModuleVariant {
  int id;
  int moduleVariant;
  int teacher;
};

//! A demo class, as the later steps need it.
struct DemoClass {
  int id;
  int institution;
  int location;  //!< VP_ID
  int module;    //!< index into kModules
  std::vector<OrganisedModuleVariant> moduleVariants;
};

struct Seed {
  Database& db;
  Writer w;
  Dice dice;
  int year;
  std::map<std::string, int> lastIds;      //!< table -> last key handed out
  std::map<std::string, int> params;       //!< "TYPE/CODE" (shared) or "TYPE/CODE/IS" -> P_ID
  std::map<std::string, int> vwoParams;    //!< "TYPE/CODE" -> VWA_ID
  std::map<int, int> geographyOfLocation;  //!< VP_ID -> VVP_ID
  //! Official programme variants by (programme index, track index), track 0 = variant A.
  std::map<std::pair<int, int>, int> programmeVariants;
  //! Organised programme variants by (institution, VVP_ID, VOO_ID).
  std::map<std::tuple<int, int, int>, int> organisedVariants;
  std::vector<DemoClass> classes;

  Seed(Database& database, int workingYear) : db(database), w(database), year(workingYear) {}

  //! The next key of a table: 1, 2, ... in insertion order.
  int Next(const std::string& table) { return ++lastIds[table]; }

  int Param(const std::string& type, const std::string& code, const std::string& description,
            int institution = 0, const char* extra = nullptr);
};

// The steps, in the order SeedDemoData runs them; each relies on the ones before it.
void SeedReference(Seed& s);
void SeedStaffAndUsers(Seed& s);
void SeedInstitutionLists(Seed& s);
void SeedModules(Seed& s);
void SeedProgrammes(Seed& s);
void SeedModuleStructure(Seed& s);
void SeedClasses(Seed& s);
void SeedHolidays(Seed& s);
//! Needs the lessons of SeedClasses.
void SeedParticipations(Seed& s);
void SeedClassDetails(Seed& s);
void SeedCertificates(Seed& s);
void SeedDavinciLists(Seed& s);
void SeedDavinciRecords(Seed& s);

}  // namespace quil::server::demo
