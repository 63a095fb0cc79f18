// TDMQuil: the host data module of one session, holding its connection to the application server.
//
// Screens reach the server only through it: new ids, the server date, the user, the database
// parameters and the job calls. It does not own the server connection's lifetime beyond its own.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "host/data/AppServer.h"

namespace quil {

class TDMQuil {
 public:
  explicit TDMQuil(std::unique_ptr<IAppServer> server);
  //! Borrows a server owned elsewhere (tests with a shared in-memory server).
  explicit TDMQuil(IAppServer& server);

  IAppServer& Server() { return *server_; }
  int64_t GetNewID(std::string_view generator) { return server_->GetNewID(generator); }
  TDateTime GetServerDatum() { return server_->GetServerDatum(); }
  int GetUserID();
  //! Read once per session and kept.
  const TQuildminDBParams& GetQuilDBParams();

  std::string PrepareJob(int jobType, int jobId, const JobData& data) {
    return server_->PrepareJob(jobType, jobId, data);
  }
  std::string ExecuteJob(int jobType, int jobId, const JobData& data) {
    return server_->ExecuteJob(jobType, jobId, data);
  }
  std::string CleanJob(int jobType, int jobId, const JobData& data) {
    return server_->CleanJob(jobType, jobId, data);
  }
  int GetJobID() { return server_->GetJobID(); }

  //! The session's cache of read-only lists, by provider and parameter values.
  const DataPacket& CachedRecords(std::string_view provider, const Params& params);
  //! Drops the cached packets of one provider (all of them when empty).
  void DropCache(std::string_view provider = "");

 private:
  std::unique_ptr<IAppServer> owned_;
  IAppServer* server_;
  int userId_ = -1;
  bool haveParams_ = false;
  TQuildminDBParams params_;
  std::map<std::string, DataPacket> cache_;
};

//! Builds job data from an ordered list of typed values.
JobData CreateJobData(std::initializer_list<Variant> values);

}  // namespace quil
