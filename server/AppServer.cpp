#include "server/AppServer.h"

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"

namespace quil::server {

namespace {

//! Administrators (GB_FLAGS bit 0) hold every right on every screen.
constexpr int kAdministrator = 1;
constexpr int kAllRights = 0xF;

//! Runs a server call; a database failure reaches the user as a client error with its text.
template <class Call>
auto Guarded(Call call) -> decltype(call()) {
  try {
    return call();
  } catch (const DatabaseError& error) {
    RaiseClientError(Format("Databasefout: %s", std::string(error.what())));
  }
}

}  // namespace

AppServer::AppServer(std::unique_ptr<Database> db, int userId, AppServerOptions options)
    : db_(std::move(db)),
      userId_(userId),
      clock_(options.clock ? std::move(options.clock) : [] { return Now(); }),
      engine_(*db_, options.providers != nullptr ? *options.providers : StandardProviders()),
      jobs_(*db_, options.jobs != nullptr ? *options.jobs : StandardJobs(), userId, clock_) {}

std::unique_ptr<AppServer> AppServer::Open(const std::string& path, int userId,
                                           AppServerOptions options) {
  auto db = OpenDatabase(path);
  if (!HasSchema(*db)) {
    RaiseClientError(Format("'%s' is geen kavel-database", DisplayLocation(path)));
  }
  return std::make_unique<AppServer>(std::move(db), userId, std::move(options));
}

DataPacket AppServer::GetRecords(std::string_view provider, const Params& params) {
  return Guarded([&] { return engine_.GetRecords(provider, params); });
}

Params AppServer::FetchParams(std::string_view provider) {
  return engine_.FetchParams(provider);
}

ApplyResult AppServer::ApplyUpdates(std::string_view provider, const Delta& delta, int maxErrors,
                                    const Params& /*params*/) {
  return Guarded([&] { return engine_.ApplyUpdates(provider, delta, maxErrors); });
}

int64_t AppServer::GetNewID(std::string_view generator) {
  TransactionGuard transaction(*db_);
  int64_t id = engine_.NextGeneratorValue(engine_.GeneratorFor(generator));
  transaction.Commit();
  return id;
}

TDateTime AppServer::GetServerDatum() {
  return clock_();
}

std::string AppServer::PrepareJob(int jobType, int jobId, const JobData& data) {
  return jobs_.Call(JobPhase::Prepare, jobType, jobId, data);
}

std::string AppServer::ExecuteJob(int jobType, int jobId, const JobData& data) {
  return jobs_.Call(JobPhase::Execute, jobType, jobId, data);
}

std::string AppServer::CleanJob(int jobType, int jobId, const JobData& data) {
  return jobs_.Call(JobPhase::Clean, jobType, jobId, data);
}

int AppServer::GetJobID() {
  return jobs_.GetJobID();
}

TQuildminDBParams AppServer::GetQuilDBParams() {
  TQuildminDBParams params;
  auto stmt = db_->Prepare("SELECT DBP_NAAM, DBP_WAARDE, DBP_TYPE FROM DBPARAM");
  while (stmt->Step()) {
    std::string name = UpperCaseAscii(stmt->ColumnText(0));
    std::string type(stmt->ColumnText(2));
    FieldType fieldType = SameText(type, "Integer")   ? FieldType::LargeInt
                          : SameText(type, "Boolean") ? FieldType::Boolean
                          : SameText(type, "Date")    ? FieldType::Date
                                                      : FieldType::String;
    Variant value;
    if (stmt->ColumnStorage(1) != StorageClass::Null) {
      std::string text(stmt->ColumnText(1));
      switch (fieldType) {
        case FieldType::LargeInt:
          value = Variant(static_cast<long long>(StrToIntDef(text, 0)));
          break;
        case FieldType::Boolean:
          value = Variant(Variant(text).AsBoolean());
          break;
        case FieldType::Date: {
          TDateTime date;
          value = SqlToDateTime(text, date) ? Variant(date) : Variant();
          break;
        }
        default:
          value = Variant(text);
          break;
      }
    }
    params.values[name] = value;
  }
  return params;
}

std::string AppServer::ReadSettings(std::string_view key) {
  auto stmt = db_->Prepare(
      "SELECT GI_TEKST FROM GEBRUIKERINSTELLING WHERE GI_GEBRUIKER_FK = :GEBRUIKER AND "
      "GI_SLEUTEL = :SLEUTEL");
  stmt->BindInt64(stmt->ParameterIndex("GEBRUIKER"), userId_);
  stmt->BindText(stmt->ParameterIndex("SLEUTEL"), UpperCaseAscii(key));
  return stmt->Step() ? std::string(stmt->ColumnText(0)) : std::string();
}

void AppServer::WriteSettings(std::string_view key, std::string_view text) {
  TransactionGuard transaction(*db_);
  auto stmt = db_->Prepare(
      "INSERT INTO GEBRUIKERINSTELLING (GI_ID, GI_GEBRUIKER_FK, GI_SLEUTEL, GI_TEKST) "
      "VALUES (:ID, :GEBRUIKER, :SLEUTEL, :TEKST) "
      "ON CONFLICT (GI_GEBRUIKER_FK, GI_SLEUTEL) DO UPDATE SET GI_TEKST = excluded.GI_TEKST");
  stmt->BindInt64(stmt->ParameterIndex("ID"), engine_.NextGeneratorValue("GEBRUIKERINSTELLING"));
  stmt->BindInt64(stmt->ParameterIndex("GEBRUIKER"), userId_);
  stmt->BindText(stmt->ParameterIndex("SLEUTEL"), UpperCaseAscii(key));
  stmt->BindText(stmt->ParameterIndex("TEKST"), text);
  stmt->Step();
  transaction.Commit();
}

int AppServer::GetFormRights(std::string_view formClass) {
  auto stmt = db_->Prepare(
      "SELECT G.GB_FLAGS, (SELECT R.GR_RECHTEN FROM GEBRUIKERRECHT R "
      " WHERE R.GR_GEBRUIKER_FK = G.GB_ID AND UPPER(R.GR_FORMKLASSE) = :KLASSE) "
      "FROM GEBRUIKER G WHERE G.GB_ID = :GEBRUIKER");
  stmt->BindText(stmt->ParameterIndex("KLASSE"), UpperCaseAscii(formClass));
  stmt->BindInt64(stmt->ParameterIndex("GEBRUIKER"), userId_);
  if (!stmt->Step()) return 0;
  if ((stmt->ColumnInt64(0) & kAdministrator) != 0) return kAllRights;
  return static_cast<int>(stmt->ColumnInt64(1));
}

}  // namespace quil::server
