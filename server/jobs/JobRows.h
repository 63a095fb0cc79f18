// Job rows: the JOBDATA rows a job writes for its screen and reads back after the user edited
// them, by slot name ("J_INTEGER1", "J_SHORTTEXT2", "J_BOOLEAN1").
//
// A JobRow holds the values of the slots one row fills; every other slot stays null. Values keep
// the slot's kind: integers for J_TYPERECORD, J_INTEGERn and J_BIGINT1, date-times for J_DATEn,
// Currency for J_CURRENCY1, text for the text slots and J_MEMO, and booleans for J_BOOLEANn
// (stored as "+"/"-", the way the screens read them). A text longer than its slot is cut to the
// slot's size in characters: the rows are a display copy, the job keeps the real record's id in
// an integer slot. A slot name that does not exist, or a value of another kind, is a programming
// error (std::logic_error).
//
// JobRowWriter inserts rows for the job id and number of a call, each with a new J_ID from the
// generator 'JOBDATA'; ReadJobRows returns the rows of a call in J_ID order. Both work on the
// call's connection, inside its transaction.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "host/base/Variant.h"
#include "server/db/Database.h"

namespace quil::server {

struct JobContext;

class JobRow {
 public:
  JobRow();

  //! Sets a slot; a null clears it.
  JobRow& Set(std::string_view slot, Variant value);
  //! The slot's value; null when unset.
  const Variant& Get(std::string_view slot) const;
  //! A J_BOOLEANn slot: "+" is true, "-" and null are false.
  bool Boolean(std::string_view slot) const;

  int64_t id = 0;  //!< J_ID; given by the writer, read by ReadJobRows

 private:
  friend class JobRowWriter;
  friend std::vector<JobRow> ReadJobRows(Database& db, int jobId, int jobType);
  std::vector<Variant> values_;  //!< one per slot, in table order
};

class JobRowWriter {
 public:
  explicit JobRowWriter(const JobContext& job);
  ~JobRowWriter();
  JobRowWriter(const JobRowWriter&) = delete;
  JobRowWriter& operator=(const JobRowWriter&) = delete;

  //! Inserts the row under the call's job id and number; returns its J_ID.
  int64_t Insert(const JobRow& row);

 private:
  const JobContext& job_;
  std::unique_ptr<Statement> insert_;
};

//! The rows of one job id and number, in J_ID order.
std::vector<JobRow> ReadJobRows(Database& db, int jobId, int jobType);

//! The next value of a generator (Database::NextGeneratorValue); a client error when there is no
//! such generator.
int64_t NextGeneratorValue(Database& db, std::string_view generator);

}  // namespace quil::server
