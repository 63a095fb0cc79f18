// JobArgs: the job data of one call, checked against the signature its handler declares.
//
// A screen builds job data as an ordered list of typed values; each job step says which values it
// takes, in order ({Integer, Integer, DateTime, DateTime}). Before the step runs the service reads
// the call's data against that signature: another count, a value of another kind or a null is
// refused with a client error that names the job, the position (counted from 1) and the expected
// kind, so the call changes nothing. The wording is in docs/jobs.md.
//
// A handler then reads its values by position (counted from 0, as the screens build them) without
// further checks; asking a position for another kind than the signature gave is a programming
// error (std::logic_error). Plain value type, not tied to a connection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/base/DateTime.h"
#include "host/data/Packet.h"

namespace quil::server {

//! The kinds of value a job takes. Yes/no choices sent as "+"/"-" are Text.
enum class JobValue { Integer, DateTime, Text, Boolean };

using JobSignature = std::vector<JobValue>;

//! The kind in words, as the refusal names it ("geheel getal").
const char* JobValueName(JobValue kind);

class JobArgs {
 public:
  //! No values (a step that takes none).
  JobArgs() = default;
  //! Throws EClientError when `data` does not match `signature`.
  JobArgs(int jobType, const JobData& data, const JobSignature& signature);

  int Count() const { return static_cast<int>(values_.size()); }
  int64_t Integer(int position) const;
  TDateTime DateTime(int position) const;
  const std::string& Text(int position) const;
  bool Boolean(int position) const;

 private:
  const Variant& At(int position, JobValue kind) const;

  std::vector<Variant> values_;
  JobSignature kinds_;
};

}  // namespace quil::server
