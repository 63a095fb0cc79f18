// JobService: the numbered server jobs of one connection.
//
// Every PrepareJob, ExecuteJob and CleanJob call is handed to the handler registered for the job
// number and recorded in JOBLOG (job type, job id, phase, the job data as typed JSON, user, time;
// format in docs/jobs.md). A job without a handler is only recorded, and its call answers "".
// CleanJob always removes the JOBDATA rows of the id, also without a handler.
//
// A handler declares per step the values it takes (JobArgs.h); a call whose data does not match
// is refused before anything happens. The log entry and the handler's work are committed
// together: a handler that fails rolls back its own work and leaves no log entry, so the log lists
// the calls that took effect. GetJobID hands out ids from the generator 'JOBID'. One service per
// connection, used by one session at a time.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "host/base/DateTime.h"
#include "host/data/Packet.h"
#include "server/db/Database.h"
#include "server/jobs/JobArgs.h"

namespace quil::server {

enum class JobPhase { Prepare, Execute, Clean };
const char* JobPhaseName(JobPhase phase);

//! What a handler gets: the connection (inside the call's transaction) and the call, its values
//! checked against the step's signature.
struct JobContext {
  Database& db;
  int jobType;
  int jobId;
  const JobData& data;
  JobArgs args;
  int userId;
  TDateTime now;
};

//! One phase of a job: the values it takes, in order, and what it does; the text it returns is
//! the call's result. A step without `run` does nothing beyond the record.
struct JobStep {
  JobSignature signature;
  std::function<std::string(JobContext&)> run;
};

//! The steps of one job number.
struct JobHandler {
  JobStep prepare;
  JobStep execute;
  JobStep clean;
};

//! Job numbers and their handlers; filled at start-up, read-only while sessions run.
class JobRegistry {
 public:
  void Register(int jobType, JobHandler handler);
  const JobHandler* Find(int jobType) const;

 private:
  std::map<int, JobHandler> handlers_;
};

//! The registry of the application's jobs.
const JobRegistry& StandardJobs();

// One file per job; each registers its steps under its number.
void RegisterJob313(JobRegistry& registry);
void RegisterJob316(JobRegistry& registry);
void RegisterJob320(JobRegistry& registry);
void RegisterJob325(JobRegistry& registry);
void RegisterJob328(JobRegistry& registry);
void RegisterJob351(JobRegistry& registry);
void RegisterJob352(JobRegistry& registry);
void RegisterJob364(JobRegistry& registry);
void RegisterJob368(JobRegistry& registry);
void RegisterJob373(JobRegistry& registry);
void RegisterJob393(JobRegistry& registry);
void RegisterJob436(JobRegistry& registry);

//! Job data as typed JSON text, and back (the form JOBLOG keeps).
std::string JobDataToJson(const JobData& data);
JobData JobDataFromJson(std::string_view json);

class JobService {
 public:
  JobService(Database& db, const JobRegistry& registry, int userId,
             std::function<TDateTime()> clock);

  std::string Call(JobPhase phase, int jobType, int jobId, const JobData& data);
  int GetJobID();

 private:
  Database& db_;
  const JobRegistry& registry_;
  int userId_;
  std::function<TDateTime()> clock_;
};

}  // namespace quil::server
