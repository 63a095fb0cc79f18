// ForwardingDatabase: a connection that hands every call on to another connection. A test's
// connection derives from it and overrides only what it watches or changes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/db/Database.h"

namespace kavel::testing {

class ForwardingDatabase : public quil::server::Database {
 public:
  explicit ForwardingDatabase(std::unique_ptr<quil::server::Database> inner)
      : inner_(std::move(inner)) {}

  quil::server::Engine engine() const override { return inner_->engine(); }
  std::unique_ptr<quil::server::Statement> Prepare(std::string_view sql) override {
    return inner_->Prepare(sql);
  }
  void ExecuteScript(std::string_view sql) override { inner_->ExecuteScript(sql); }
  int64_t Changes() const override { return inner_->Changes(); }
  void Begin() override { inner_->Begin(); }
  void Commit() override { inner_->Commit(); }
  void Rollback() override { inner_->Rollback(); }
  bool InTransaction() const override { return inner_->InTransaction(); }
  std::vector<std::string> Tables() override { return inner_->Tables(); }
  std::vector<quil::server::TableColumn> Columns(std::string_view table) override {
    return inner_->Columns(table);
  }
  void CreateGenerator(std::string_view name) override { inner_->CreateGenerator(name); }
  std::optional<int64_t> NextGeneratorValue(std::string_view name) override {
    return inner_->NextGeneratorValue(name);
  }
  std::optional<int64_t> ReserveGeneratorValues(std::string_view name, int64_t count) override {
    return inner_->ReserveGeneratorValues(name, count);
  }
  std::optional<int64_t> GeneratorValue(std::string_view name) override {
    return inner_->GeneratorValue(name);
  }
  void SetGeneratorValue(std::string_view name, int64_t value) override {
    inner_->SetGeneratorValue(name, value);
  }
  std::string_view SkipLockedClause() const override { return inner_->SkipLockedClause(); }

 protected:
  //! Closes the connection handed on to (before what it depends on goes).
  void CloseInner() { inner_.reset(); }
  quil::server::Database& inner() { return *inner_; }

 private:
  std::unique_ptr<quil::server::Database> inner_;
};

}  // namespace kavel::testing
