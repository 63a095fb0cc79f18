// IAppServer: the one door from the host to the application server.
//
// One instance per connection (one per user session). It is thread-compatible: a session uses it
// from its UI thread only. The server may run in this process or behind a network boundary; the
// host never assumes which. Errors the user must see (a failed provider, a refused job) arrive as
// EClientError; per-row failures of an apply come back in the ApplyResult instead.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "host/base/DateTime.h"
#include "host/data/Packet.h"

namespace quil {

//! Site-wide settings of the database (the host's database parameters), read once per session.
struct TQuildminDBParams {
  std::map<std::string, Variant> values;  //!< keys are upper case
  Variant Get(std::string_view name) const;
};

class IAppServer {
 public:
  virtual ~IAppServer() = default;

  virtual DataPacket GetRecords(std::string_view provider, const Params& params) = 0;
  //! The parameters the provider takes, with their types and no values.
  virtual Params FetchParams(std::string_view provider) = 0;
  //! Applies the delta in one transaction; rolls it back when more than maxErrors rows fail
  //! (-1 = any number of errors allowed).
  virtual ApplyResult ApplyUpdates(std::string_view provider, const Delta& delta, int maxErrors,
                                   const Params& params) = 0;
  //! A provider name selects the generator of the table it updates.
  virtual int64_t GetNewID(std::string_view generator) = 0;
  virtual TDateTime GetServerDatum() = 0;

  virtual std::string PrepareJob(int jobType, int jobId, const JobData& data) = 0;
  virtual std::string ExecuteJob(int jobType, int jobId, const JobData& data) = 0;
  virtual std::string CleanJob(int jobType, int jobId, const JobData& data) = 0;
  virtual int GetJobID() = 0;

  virtual int GetUserID() = 0;
  virtual TQuildminDBParams GetQuilDBParams() = 0;
  //! Per-user settings text stored under a key (a screen's class name); "" when none.
  virtual std::string ReadSettings(std::string_view key) = 0;
  virtual void WriteSettings(std::string_view key, std::string_view text) = 0;
  //! The access-right bits the user holds on a screen class (bit 0 = may open; 1..3 as granted).
  virtual int GetFormRights(std::string_view formClass) = 0;
};

}  // namespace quil
