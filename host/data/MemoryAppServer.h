// MemoryAppServer: an IAppServer whose providers are tables held in memory.
//
// A test seam for the datasets and screens, in the way an in-memory file system serves a storage
// engine's tests: no database, but the same contract. Each provider is a table with a key field;
// GetRecords returns the rows whose columns equal every non-null parameter of the same name;
// ApplyUpdates applies a delta all-or-nothing under the maxErrors rule, matching updates and
// deletes on the key plus the original values of the changed fields (like the real server).
// Job calls are recorded; a test may stand in for the jobs with `onJob`.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/data/AppServer.h"

namespace quil {

class MemoryAppServer : public IAppServer {
 public:
  struct Table {
    std::vector<FieldDef> fields;
    std::vector<Row> rows;
    std::string keyField;
    std::vector<std::string> paramNames;  //!< parameters the provider takes (FetchParams)
    //! Optional check per delta row; a non-empty text fails the row with that message.
    std::function<std::string(const DeltaRow&)> check;
  };

  struct JobCall {
    std::string phase;  //!< "Prepare", "Execute" or "Clean"
    int jobType;
    int jobId;
    JobData data;
  };

  Table& AddProvider(const std::string& name, std::vector<FieldDef> fields, std::string keyField,
                     std::vector<Row> rows = {});
  Table& Provider(std::string_view name);

  DataPacket GetRecords(std::string_view provider, const Params& params) override;
  Params FetchParams(std::string_view provider) override;
  ApplyResult ApplyUpdates(std::string_view provider, const Delta& delta, int maxErrors,
                           const Params& params) override;
  int64_t GetNewID(std::string_view generator) override;
  TDateTime GetServerDatum() override { return serverDate; }

  std::string PrepareJob(int jobType, int jobId, const JobData& data) override;
  std::string ExecuteJob(int jobType, int jobId, const JobData& data) override;
  std::string CleanJob(int jobType, int jobId, const JobData& data) override;
  int GetJobID() override { return nextJobId++; }

  int GetUserID() override { return userId; }
  TQuildminDBParams GetQuilDBParams() override { return dbParams; }
  std::string ReadSettings(std::string_view key) override;
  void WriteSettings(std::string_view key, std::string_view text) override;
  int GetFormRights(std::string_view formClass) override;

  TDateTime serverDate;
  int userId = 1;
  int nextJobId = 1;
  TQuildminDBParams dbParams;
  std::vector<JobCall> jobCalls;
  //! Runs after a job call was recorded, as the job would; its text is the call's answer.
  std::function<std::string(const JobCall&)> onJob;
  std::map<std::string, std::string> settings;
  std::map<std::string, int> rights;  //!< per form class; absent = all rights (0xF)
  int getRecordsCalls = 0;
  int applyCalls = 0;

 private:
  std::map<std::string, Table> tables_;  //!< by upper-case provider name
  std::map<std::string, int64_t> generators_;
};

}  // namespace quil
