// apply_until_killed DB USER (middle|committed): a user's session that opens the absence codes of
// an institution without codes, asks for the standard codes and so stores them in one multi-row
// apply. The session's database connection stops the process where the test wants to kill it:
// in the middle of the apply's transaction (after its third row was written) or right after the
// commit. It then writes one line to standard output and waits to be killed. DB is a SQLite file
// or a PostgreSQL URL.
#include <unistd.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/kavelmod.h"
#include "host/data/DMQuil.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "server/AppServer.h"
#include "server/db/Database.h"
#include "tests/common/ForwardingDatabase.h"

namespace {

using quil::server::Database;
using quil::server::Statement;

//! Says where the process stands and waits for the signal that ends it.
[[noreturn]] void Halt(const char* where) {
  std::cout << where << std::endl;
  for (;;) pause();
}

struct Stops {
  bool middle = false;
  int rowsWritten = 0;
};

//! A statement that counts the rows it writes into the absence codes.
class CountingStatement final : public Statement {
 public:
  CountingStatement(std::unique_ptr<Statement> inner, Stops* stops)
      : inner_(std::move(inner)), stops_(stops) {}
  int ParameterCount() const override { return inner_->ParameterCount(); }
  std::string ParameterName(int i) const override { return inner_->ParameterName(i); }
  int ParameterIndex(std::string_view name) const override { return inner_->ParameterIndex(name); }
  void BindNull(int i) override { inner_->BindNull(i); }
  void BindInt64(int i, int64_t v) override { inner_->BindInt64(i, v); }
  void BindDouble(int i, double v) override { inner_->BindDouble(i, v); }
  void BindText(int i, std::string_view v) override { inner_->BindText(i, v); }
  void BindBlob(int i, std::string_view v) override { inner_->BindBlob(i, v); }
  bool Step() override {
    const bool row = inner_->Step();
    if (stops_ != nullptr && ++stops_->rowsWritten == 3 && stops_->middle) Halt("midden");
    return row;
  }
  void Reset() override { inner_->Reset(); }
  int ColumnCount() const override { return inner_->ColumnCount(); }
  quil::server::ColumnOrigin Origin(int c) const override { return inner_->Origin(c); }
  quil::server::StorageClass ColumnStorage(int c) const override {
    return inner_->ColumnStorage(c);
  }
  int64_t ColumnInt64(int c) const override { return inner_->ColumnInt64(c); }
  double ColumnDouble(int c) const override { return inner_->ColumnDouble(c); }
  std::string_view ColumnText(int c) const override { return inner_->ColumnText(c); }
  std::string_view ColumnBlob(int c) const override { return inner_->ColumnBlob(c); }

 private:
  std::unique_ptr<Statement> inner_;
  Stops* stops_;  //!< null for statements that do not write the codes
};

class StoppingDatabase final : public kavel::testing::ForwardingDatabase {
 public:
  StoppingDatabase(std::unique_ptr<Database> inner, Stops stops)
      : ForwardingDatabase(std::move(inner)), stops_(stops) {}
  std::unique_ptr<Statement> Prepare(std::string_view sql) override {
    const bool writesCodes = sql.starts_with("INSERT INTO VWOAFWEZIGHEIDSCODE");
    return std::make_unique<CountingStatement>(inner().Prepare(sql),
                                               writesCodes ? &stops_ : nullptr);
  }
  void Commit() override {
    inner().Commit();
    if (!stops_.middle && stops_.rowsWritten > 0) Halt("bewaard");
  }

 private:
  Stops stops_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "gebruik: apply_until_killed DB GEBRUIKER middle|committed\n";
    return 2;
  }
  const std::string mode = argv[3];
  auto db = std::make_unique<StoppingDatabase>(quil::server::OpenDatabase(argv[1]),
                                               Stops{.middle = mode == "middle"});
  quil::server::AppServer server(std::move(db), std::stoi(argv[2]));
  quil::TDMQuil connection(server);
  quil::ScriptedDialogs dialogs;
  quil::TQuilApplication app(connection, dialogs);
  app.SetAdminPrefs(std::make_shared<quil::AdminPrefs>(quil::EncodeDate(2025, 10, 1)));
  QuilModuleEntry();
  dialogs.AnswerYes();  // the standard codes, please
  app.OpenForm("TVWOAfwezigheidsCodesForm");
  std::cerr << "apply_until_killed: the apply never reached its stop\n" << dialogs.Transcript();
  return 1;
}
