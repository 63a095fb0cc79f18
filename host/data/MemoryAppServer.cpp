#include "host/data/MemoryAppServer.h"

#include <algorithm>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"

namespace quil {

namespace {

int IndexOf(const std::vector<FieldDef>& fields, std::string_view name) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (SameText(fields[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

MemoryAppServer::Table& MemoryAppServer::AddProvider(const std::string& name,
                                                     std::vector<FieldDef> fields,
                                                     std::string keyField, std::vector<Row> rows) {
  Table& table = tables_[UpperCaseAscii(name)];
  table.fields = std::move(fields);
  table.keyField = std::move(keyField);
  table.rows = std::move(rows);
  // The provider's generator continues above the ids already there, as a real sequence would.
  int key = IndexOf(table.fields, table.keyField);
  int64_t& generator = generators_[UpperCaseAscii(name)];
  for (const Row& row : table.rows) {
    if (key >= 0 && !row[key].IsNull()) generator = std::max(generator, row[key].AsLargeInt());
  }
  return table;
}

MemoryAppServer::Table& MemoryAppServer::Provider(std::string_view name) {
  auto it = tables_.find(UpperCaseAscii(name));
  if (it == tables_.end()) {
    RaiseClientError(Format("Provider '%s' niet gevonden", std::string(name)));
  }
  return it->second;
}

DataPacket MemoryAppServer::GetRecords(std::string_view provider, const Params& params) {
  ++getRecordsCalls;
  Table& table = Provider(provider);
  DataPacket packet;
  packet.fields = table.fields;
  std::vector<std::pair<int, Variant>> conditions;
  for (const TParam& p : params) {
    int column = IndexOf(table.fields, p.name);
    if (column >= 0) conditions.emplace_back(column, p.value);
  }
  for (const Row& row : table.rows) {
    bool match = std::all_of(conditions.begin(), conditions.end(), [&row](const auto& c) {
      return !c.second.IsNull() && CompareVariants(row[c.first], c.second) == 0;
    });
    if (match) packet.rows.push_back(row);
  }
  return packet;
}

Params MemoryAppServer::FetchParams(std::string_view provider) {
  Table& table = Provider(provider);
  Params params;
  for (const std::string& name : table.paramNames) {
    int column = IndexOf(table.fields, name);
    params.Add(name, column >= 0 ? table.fields[column].type : FieldType::String);
  }
  return params;
}

ApplyResult MemoryAppServer::ApplyUpdates(std::string_view provider, const Delta& delta,
                                          int maxErrors, const Params&) {
  ++applyCalls;
  Table& table = Provider(provider);
  std::vector<Row> rows = table.rows;  // work on a copy: the transaction
  int key = IndexOf(table.fields, table.keyField);
  auto column = [&](int deltaIndex) {
    return IndexOf(table.fields, delta.fields[deltaIndex].name);
  };
  ApplyResult result;
  for (size_t r = 0; r < delta.rows.size(); ++r) {
    const DeltaRow& change = delta.rows[r];
    std::string error = table.check ? table.check(change) : std::string();
    auto findRow = [&]() -> std::vector<Row>::iterator {
      return std::find_if(rows.begin(), rows.end(), [&](const Row& row) {
        for (size_t f = 0; f < delta.fields.size(); ++f) {
          int c = column(static_cast<int>(f));
          if (c < 0) continue;
          bool isKey = c == key;
          bool changed =
              change.kind == DeltaKind::Delete || !(change.original[f] == change.current[f]);
          if ((isKey || changed) && !(row[c] == change.original[f])) return false;
        }
        return true;
      });
    };
    if (error.empty()) {
      if (change.kind == DeltaKind::Insert) {
        Row row(table.fields.size());
        for (size_t f = 0; f < delta.fields.size(); ++f) {
          if (int c = column(static_cast<int>(f)); c >= 0) row[c] = change.current[f];
        }
        for (size_t c = 0; c < table.fields.size(); ++c) {
          if (table.fields[c].required && row[c].IsNull()) {
            error = Format("Veld '%s' moet een waarde hebben", table.fields[c].name);
          }
        }
        if (error.empty() && key >= 0 &&
            std::any_of(rows.begin(), rows.end(),
                        [&](const Row& existing) { return existing[key] == row[key]; })) {
          error = "Record met deze sleutel bestaat al";
        }
        if (error.empty()) rows.push_back(std::move(row));
      } else {
        auto it = findRow();
        if (it == rows.end()) {
          error = "Record werd intussen gewijzigd door een andere gebruiker";
        } else if (change.kind == DeltaKind::Delete) {
          rows.erase(it);
        } else {
          for (size_t f = 0; f < delta.fields.size(); ++f) {
            if (int c = column(static_cast<int>(f)); c >= 0) (*it)[c] = change.current[f];
          }
        }
      }
    }
    if (!error.empty()) {
      ++result.errorCount;
      result.errors.push_back({static_cast<int>(r), error});
    }
  }
  if (maxErrors >= 0 && result.errorCount > maxErrors) {
    result.rolledBack = true;
  } else {
    table.rows = std::move(rows);
  }
  return result;
}

int64_t MemoryAppServer::GetNewID(std::string_view generator) {
  return ++generators_[UpperCaseAscii(generator)];
}

std::string MemoryAppServer::PrepareJob(int jobType, int jobId, const JobData& data) {
  jobCalls.push_back({"Prepare", jobType, jobId, data});
  return onJob ? onJob(JobCall(jobCalls.back())) : "";
}

std::string MemoryAppServer::ExecuteJob(int jobType, int jobId, const JobData& data) {
  jobCalls.push_back({"Execute", jobType, jobId, data});
  return onJob ? onJob(JobCall(jobCalls.back())) : "";
}

std::string MemoryAppServer::CleanJob(int jobType, int jobId, const JobData& data) {
  jobCalls.push_back({"Clean", jobType, jobId, data});
  return onJob ? onJob(JobCall(jobCalls.back())) : "";
}

std::string MemoryAppServer::ReadSettings(std::string_view key) {
  auto it = settings.find(std::string(key));
  return it == settings.end() ? "" : it->second;
}

void MemoryAppServer::WriteSettings(std::string_view key, std::string_view text) {
  settings[std::string(key)] = std::string(text);
}

int MemoryAppServer::GetFormRights(std::string_view formClass) {
  auto it = rights.find(std::string(formClass));
  return it == rights.end() ? 0xF : it->second;
}

}  // namespace quil
