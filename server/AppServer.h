// AppServer: the application server of one user session, in this process.
//
// It implements the host's IAppServer over one database connection: the provider engine for
// records and applies, generators for new ids, the job service, and the per-user tables (settings
// text per key, right bits per screen class) and the site-wide DBPARAM table. A session owns its
// AppServer; two sessions open two AppServers, each with its own connection, on the same file.
// Thread-compatible: one session uses it from its UI thread. A database failure while reading or
// applying (a busy or damaged database) reaches the caller as EClientError; per-row failures of an
// apply are in its ApplyResult.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/data/AppServer.h"
#include "server/db/Database.h"
#include "server/jobs/JobService.h"
#include "server/providers/Provider.h"
#include "server/providers/ProviderEngine.h"

namespace quil::server {

struct AppServerOptions {
  const ProviderCatalogue* providers = nullptr;  //!< default: StandardProviders()
  const JobRegistry* jobs = nullptr;             //!< default: StandardJobs()
  //! The server's clock (GetServerDatum, job log times); default: the local time.
  std::function<TDateTime()> clock;
};

class AppServer final : public IAppServer {
 public:
  AppServer(std::unique_ptr<Database> db, int userId, AppServerOptions options = {});
  //! Opens a session on an existing database file for a user.
  static std::unique_ptr<AppServer> Open(const std::string& path, int userId,
                                         AppServerOptions options = {});

  DataPacket GetRecords(std::string_view provider, const Params& params) override;
  Params FetchParams(std::string_view provider) override;
  ApplyResult ApplyUpdates(std::string_view provider, const Delta& delta, int maxErrors,
                           const Params& params) override;
  int64_t GetNewID(std::string_view generator) override;
  //! The server's date and time of day.
  TDateTime GetServerDatum() override;

  std::string PrepareJob(int jobType, int jobId, const JobData& data) override;
  std::string ExecuteJob(int jobType, int jobId, const JobData& data) override;
  std::string CleanJob(int jobType, int jobId, const JobData& data) override;
  int GetJobID() override;

  int GetUserID() override { return userId_; }
  TQuildminDBParams GetQuilDBParams() override;
  std::string ReadSettings(std::string_view key) override;
  void WriteSettings(std::string_view key, std::string_view text) override;
  int GetFormRights(std::string_view formClass) override;

  Database& db() { return *db_; }

 private:
  std::unique_ptr<Database> db_;
  int userId_;
  std::function<TDateTime()> clock_;
  ProviderEngine engine_;
  JobService jobs_;
};

}  // namespace quil::server
