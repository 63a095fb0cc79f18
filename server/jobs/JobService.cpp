#include "server/jobs/JobService.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"
#include "server/jobs/JobRows.h"

namespace quil::server {

namespace {

using nlohmann::json;

std::string HexOf(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

std::string BytesOf(std::string_view hex) {
  auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
  }
  return bytes;
}

//! Currency as its exact decimal text with four decimals ("-12.5000").
std::string CurrencyText(Currency value) {
  int64_t raw = value.Raw();
  std::string sign = raw < 0 ? "-" : "";
  uint64_t magnitude = raw < 0 ? static_cast<uint64_t>(-(raw + 1)) + 1 : static_cast<uint64_t>(raw);
  std::string fraction = std::to_string(magnitude % 10000);
  return sign + std::to_string(magnitude / 10000) + "." + std::string(4 - fraction.size(), '0') +
         fraction;
}

}  // namespace

const char* JobPhaseName(JobPhase phase) {
  switch (phase) {
    case JobPhase::Prepare:
      return "Prepare";
    case JobPhase::Execute:
      return "Execute";
    case JobPhase::Clean:
      return "Clean";
  }
  return "?";
}

void JobRegistry::Register(int jobType, JobHandler handler) {
  handlers_[jobType] = std::move(handler);
}

const JobHandler* JobRegistry::Find(int jobType) const {
  auto it = handlers_.find(jobType);
  return it == handlers_.end() ? nullptr : &it->second;
}

const JobRegistry& StandardJobs() {
  // Jobs without a handler here are recorded only.
  static const JobRegistry registry = [] {
    JobRegistry jobs;
    RegisterJob313(jobs);
    RegisterJob316(jobs);
    RegisterJob320(jobs);
    RegisterJob325(jobs);
    RegisterJob328(jobs);
    RegisterJob351(jobs);
    RegisterJob352(jobs);
    RegisterJob364(jobs);
    RegisterJob368(jobs);
    RegisterJob373(jobs);
    RegisterJob393(jobs);
    RegisterJob436(jobs);
    return jobs;
  }();
  return registry;
}

std::string JobDataToJson(const JobData& data) {
  json values = json::array();
  for (const Variant& value : data.values) {
    json item;
    switch (value.Type()) {
      case VariantType::Null:
        item = {{"type", "Null"}};
        break;
      case VariantType::Boolean:
        item = {{"type", "Boolean"}, {"value", value.Get<bool>()}};
        break;
      case VariantType::Integer:
        item = {{"type", "Integer"}, {"value", value.Get<int64_t>()}};
        break;
      case VariantType::Float:
        item = {{"type", "Float"}, {"value", value.Get<double>()}};
        break;
      case VariantType::Currency:
        item = {{"type", "Currency"}, {"value", CurrencyText(value.Get<Currency>())}};
        break;
      case VariantType::String:
        item = {{"type", "String"}, {"value", value.Get<std::string>()}};
        break;
      case VariantType::DateTime: {
        TDateTime moment = value.Get<TDateTime>();
        item = {{"type", "DateTime"}, {"value", DateTimeToSql(moment)}};
        break;
      }
      case VariantType::Blob:
        item = {{"type", "Blob"}, {"value", HexOf(value.AsBlob()->bytes)}};
        break;
    }
    values.push_back(std::move(item));
  }
  return values.dump();
}

JobData JobDataFromJson(std::string_view text) {
  JobData data;
  json values = json::parse(text);
  for (const json& item : values) {
    const std::string type = item.at("type").get<std::string>();
    if (type == "Null") {
      data.values.emplace_back();
    } else if (type == "Boolean") {
      data.values.emplace_back(item.at("value").get<bool>());
    } else if (type == "Integer") {
      data.values.emplace_back(static_cast<long long>(item.at("value").get<int64_t>()));
    } else if (type == "Float") {
      data.values.emplace_back(item.at("value").get<double>());
    } else if (type == "Currency") {
      Currency value;
      if (!SqlToCurrency(item.at("value").get<std::string>(), value)) {
        throw std::invalid_argument("job data: bad currency");
      }
      data.values.emplace_back(value);
    } else if (type == "String") {
      data.values.emplace_back(item.at("value").get<std::string>());
    } else if (type == "DateTime") {
      TDateTime moment;
      if (!SqlToDateTime(item.at("value").get<std::string>(), moment)) {
        throw std::invalid_argument("job data: bad date-time");
      }
      data.values.emplace_back(moment);
    } else if (type == "Blob") {
      data.values.emplace_back(Blob{BytesOf(item.at("value").get<std::string>())});
    } else {
      throw std::invalid_argument("job data: unknown type " + type);
    }
  }
  return data;
}

JobService::JobService(Database& db, const JobRegistry& registry, int userId,
                       std::function<TDateTime()> clock)
    : db_(db), registry_(registry), userId_(userId), clock_(std::move(clock)) {}

std::string JobService::Call(JobPhase phase, int jobType, int jobId, const JobData& data) {
  TDateTime now = clock_();
  const JobHandler* handler = registry_.Find(jobType);
  const JobStep* step = nullptr;
  if (handler != nullptr) {
    step = phase == JobPhase::Prepare   ? &handler->prepare
           : phase == JobPhase::Execute ? &handler->execute
                                        : &handler->clean;
    if (!step->run) step = nullptr;
  }
  // Refused data is refused before the transaction: the call changes nothing.
  JobContext context{db_,
                     jobType,
                     jobId,
                     data,
                     step != nullptr ? JobArgs(jobType, data, step->signature) : JobArgs(),
                     userId_,
                     now};
  TransactionGuard transaction(db_);
  std::string result;
  if (phase == JobPhase::Clean) {
    auto clean = db_.Prepare("DELETE FROM JOBDATA WHERE J_JOBID = :JOBID");
    clean->BindInt64(0, jobId);
    clean->Step();
  }
  if (step != nullptr) result = step->run(context);
  // The key comes from the table's generator (SQLite would fill in a rowid; PostgreSQL does not).
  const int64_t logId = NextGeneratorValue(db_, "JOBLOG");
  auto log = db_.Prepare(
      "INSERT INTO JOBLOG (JL_ID, JL_JOBTYPE, JL_JOBID, JL_FASE, JL_DATA, JL_GEBRUIKER, "
      "JL_TIJDSTIP, JL_RESULTAAT) "
      "VALUES (:ID, :JOBTYPE, :JOBID, :FASE, :DATA, :GEBRUIKER, :TIJDSTIP, :RESULTAAT)");
  log->BindInt64(log->ParameterIndex("ID"), logId);
  log->BindInt64(log->ParameterIndex("JOBTYPE"), jobType);
  log->BindInt64(log->ParameterIndex("JOBID"), jobId);
  log->BindText(log->ParameterIndex("FASE"), JobPhaseName(phase));
  log->BindText(log->ParameterIndex("DATA"), JobDataToJson(data));
  log->BindInt64(log->ParameterIndex("GEBRUIKER"), userId_);
  log->BindText(log->ParameterIndex("TIJDSTIP"), DateTimeToSql(now));
  log->BindText(log->ParameterIndex("RESULTAAT"), result);
  log->Step();
  transaction.Commit();
  return result;
}

int JobService::GetJobID() {
  TransactionGuard transaction(db_);
  int id = static_cast<int>(NextGeneratorValue(db_, "JOBID"));
  transaction.Commit();
  return id;
}

}  // namespace quil::server
