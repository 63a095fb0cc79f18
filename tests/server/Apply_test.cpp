// Applying deltas through a provider: one transaction, per-row errors, the maxErrors rule and
// optimistic concurrency between sessions.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ServerTestUtil.h"
#include "server/providers/ProviderEngine.h"

namespace quil::server::testing {
namespace {

constexpr const char* kCodes = "DSPVWOAfwezigheidsCodes";

Row CodeRow(int id, const char* code, const char* description) {
  // VAC_ID, VAC_INSTELLING_FK, VAC_CODE, VAC_OMSCHRIJVING, VAC_KLEUR, status, status bev,
  // VAC_FLAGS, VAC_VERANDERDDOOR, VAC_VERANDERDOP, VAC_PARTICIPATIESTATUS (not stored)
  return {Variant(id),
          Variant(1),
          Variant(code),
          Variant(description),
          Variant(255),
          Variant(2),
          Variant(2),
          Variant(0),
          Variant(1),
          Variant(EncodeDate(2025, 9, 1) + 0.25),
          Variant("wordt niet opgeslagen")};
}

std::string Codes(AppServer& server) {
  return Render(server.GetRecords(kCodes, MakeParams({{"IS_ID", 1}})));
}

TEST(ApplyTest, InsertModifyDeleteEqualAFreshFetch) {
  auto server = FixtureServer();
  DataPacket before = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta delta = DeltaFor(before);
  AddInsert(delta, CodeRow(10, "A", "Afwezig"));
  AddModify(delta, before, 0, {{"VAC_OMSCHRIJVING", "Present"}, {"VAC_FLAGS", 2}});
  ApplyResult result = server->ApplyUpdates(kCodes, delta, 0, {});
  ASSERT_EQ(result.errorCount, 0);
  EXPECT_EQ(Codes(*server),
            "10|1|A|Afwezig|255|2|2|0|1|2025-09-01 06:00:00|Afwezig\n"
            "1|1|X|Present|-16777211|1|1|2|1|2025-08-25 10:00:00|Aanwezig\n");

  DataPacket after = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta removal = DeltaFor(after);
  AddDelete(removal, after, 0);
  ASSERT_EQ(server->ApplyUpdates(kCodes, removal, 0, {}).errorCount, 0);
  EXPECT_EQ(Codes(*server), "1|1|X|Present|-16777211|1|1|2|1|2025-08-25 10:00:00|Aanwezig\n");
}

TEST(ApplyTest, InsertWithoutKeyTakesTheTablesGenerator) {
  auto server = FixtureServer();
  DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta delta = DeltaFor(packet);
  Row row = CodeRow(0, "L", "Te laat");
  row[0] = Variant();
  AddInsert(delta, row);
  ASSERT_EQ(server->ApplyUpdates(kCodes, delta, 0, {}).errorCount, 0);
  // The fixture's highest key is 1: the insert took 2 and the next id is 3.
  EXPECT_EQ(server->GetNewID(kCodes), 3);
  EXPECT_EQ(server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}})).rows[0][0].AsInteger(), 2);
}

// Rows: good, duplicate code (unique violation), good, missing description (not null).
struct MaxErrorsCase {
  int maxErrors;
  bool rolledBack;
  int errorCount;  //!< errors reported (the apply stops at the first error too many)
  const char* stored;
};

class MaxErrorsTest : public ::testing::TestWithParam<MaxErrorsCase> {};

TEST_P(MaxErrorsTest, RollsBackOnlyWhenErrorsExceedTheLimit) {
  const MaxErrorsCase& c = GetParam();
  auto server = FixtureServer();
  std::string original = Codes(*server);
  DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta delta = DeltaFor(packet);
  AddInsert(delta, CodeRow(10, "A", "Afwezig"));
  AddInsert(delta, CodeRow(11, "X", "Tweede X"));
  AddInsert(delta, CodeRow(12, "L", "Te laat"));
  Row missing = CodeRow(13, "V", "");
  missing[3] = Variant();
  AddInsert(delta, missing);

  ApplyResult result = server->ApplyUpdates(kCodes, delta, c.maxErrors, {});
  EXPECT_EQ(result.rolledBack, c.rolledBack);
  EXPECT_EQ(result.errorCount, c.errorCount);
  ASSERT_GE(result.errors.size(), 1u);
  EXPECT_EQ(result.errors[0].row, 1);
  EXPECT_EQ(result.errors[0].message,
            "Er bestaat al een record met dezelfde waarde voor VAC_INSTELLING_FK, VAC_CODE");
  if (result.errors.size() > 1) {
    EXPECT_EQ(result.errors[1].row, 3);
    EXPECT_EQ(result.errors[1].message, "Veld 'VAC_OMSCHRIJVING' moet een waarde hebben");
  }
  std::string stored;
  for (const Row& row : server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}})).rows) {
    stored += row[2].AsString();
  }
  EXPECT_EQ(stored, c.stored);
  if (c.rolledBack) {
    EXPECT_EQ(Codes(*server), original);
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, MaxErrorsTest,
                         ::testing::Values(MaxErrorsCase{0, true, 1, "X"},
                                           MaxErrorsCase{1, true, 2, "X"},
                                           MaxErrorsCase{2, false, 2, "ALX"},
                                           MaxErrorsCase{-1, false, 2, "ALX"}),
                         [](const auto& info) {
                           int max = info.param.maxErrors;
                           return max < 0 ? std::string("Unlimited") : "Max" + std::to_string(max);
                         });

TEST(ApplyTest, ForeignKeyViolationIsARowError) {
  auto server = FixtureServer();
  DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta delta = DeltaFor(packet);
  Row row = CodeRow(10, "A", "Afwezig");
  row[1] = Variant(99);  // no such institution
  AddInsert(delta, row);
  ApplyResult result = server->ApplyUpdates(kCodes, delta, 0, {});
  ASSERT_EQ(result.errorCount, 1);
  EXPECT_EQ(result.errors[0].message,
            "Het record verwijst naar een onbestaand record of is nog in gebruik");
}

TEST(ApplyTest, ReadOnlyFieldsAndUnknownFieldsAreNotWritten) {
  auto server = FixtureServer();
  DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta delta = DeltaFor(packet);
  delta.fields.push_back({"CALC_KLEURNAAM", FieldType::String});
  DeltaRow row{DeltaKind::Modify, packet.rows[0], packet.rows[0]};
  row.original.push_back(Variant("geel"));
  row.current.push_back(Variant("rood"));
  row.current[packet.FieldIndex("VAC_PARTICIPATIESTATUS")] = Variant("gewijzigd");
  delta.rows.push_back(row);
  ASSERT_EQ(server->ApplyUpdates(kCodes, delta, 0, {}).errorCount, 0);
  EXPECT_EQ(Codes(*server), Render(packet));
}

TEST(ApplyTest, AChangeOfTheKeyIsRefusedAndNothingOfTheRowIsStored) {
  auto server = FixtureServer();
  DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  Delta delta = DeltaFor(packet);
  AddModify(delta, packet, 0, {{"VAC_ID", 999}, {"VAC_FLAGS", 255}});
  ApplyResult result = server->ApplyUpdates(kCodes, delta, 0, {});
  ASSERT_EQ(result.errorCount, 1);
  EXPECT_EQ(result.errors[0].message, "De sleutel 'VAC_ID' van een record kan niet wijzigen");
  EXPECT_EQ(Codes(*server), Render(packet));
}

// Two sessions read the same record; the first stores its change, the second one's change of
// the same record must fail and must not overwrite the first.
struct ConflictCase {
  const char* name;
  const char* secondField;  //!< field the second session changes; nullptr: it deletes
  bool secondFails;
  const char* stored;  //!< VAC_OMSCHRIJVING|VAC_FLAGS after both applies
};

class ConcurrencyTest : public ::testing::TestWithParam<ConflictCase> {};

TEST_P(ConcurrencyTest, SecondApplyOfAChangedRecord) {
  const ConflictCase& c = GetParam();
  FixtureLocation database;
  const std::string& file = database.location();
  auto first = AppServer::Open(file, 1);
  auto second = AppServer::Open(file, 2);
  DataPacket seenByFirst = first->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  DataPacket seenBySecond = second->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));

  Delta change = DeltaFor(seenByFirst);
  AddModify(change, seenByFirst, 0, {{"VAC_OMSCHRIJVING", "Eerste"}});
  ASSERT_EQ(first->ApplyUpdates(kCodes, change, 0, {}).errorCount, 0);

  Delta late = DeltaFor(seenBySecond);
  if (c.secondField != nullptr) {
    AddModify(late, seenBySecond, 0,
              {{c.secondField,
                std::string(c.secondField) == "VAC_FLAGS" ? Variant(2) : Variant("Tweede")}});
  } else {
    AddDelete(late, seenBySecond, 0);
  }
  ApplyResult result = second->ApplyUpdates(kCodes, late, 0, {});
  if (c.secondFails) {
    ASSERT_EQ(result.errorCount, 1);
    EXPECT_TRUE(result.rolledBack);
    EXPECT_EQ(result.errors[0].message, kChangedByOtherUser);
  } else {
    EXPECT_EQ(result.errorCount, 0);
  }
  DataPacket now = first->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  ASSERT_EQ(now.rows.size(), 1u);
  EXPECT_EQ(now.rows[0][3].AsString() + "|" + now.rows[0][7].AsString(), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, ConcurrencyTest,
    ::testing::Values(ConflictCase{"SameField", "VAC_OMSCHRIJVING", true, "Eerste|0"},
                      ConflictCase{"Delete", nullptr, true, "Eerste|0"},
                      ConflictCase{"OtherField", "VAC_FLAGS", false, "Eerste|2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ApplyTest, RowDeletedByAnotherSessionCannotBeChanged) {
  auto server = FixtureServer();
  DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 1}}));
  server->db().ExecuteScript("DELETE FROM VWOAFWEZIGHEIDSCODE");
  Delta delta = DeltaFor(packet);
  AddModify(delta, packet, 0, {{"VAC_OMSCHRIJVING", "Nieuw"}});
  ApplyResult result = server->ApplyUpdates(kCodes, delta, -1, {});
  ASSERT_EQ(result.errorCount, 1);
  EXPECT_FALSE(result.rolledBack);
  EXPECT_EQ(result.errors[0].message, kChangedByOtherUser);
}

// A process killed while it applies a large delta leaves all of it or none of it.
TEST(ApplyTest, KilledMidApplyLeavesAllOrNone) {
  FixtureLocation database;
  const std::string& file = database.location();
  constexpr int kRows = 60000;

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(ready[0]);
    auto server = AppServer::Open(file, 1);
    DataPacket packet = server->GetRecords(kCodes, MakeParams({{"IS_ID", 2}}));
    Delta delta = DeltaFor(packet);
    for (int i = 0; i < kRows; ++i) {
      Row row = CodeRow(100 + i, "X", "Een lange omschrijving om de pagina's te vullen");
      row[1] = Variant(2);
      row[2] = Variant(std::to_string(i));  // unique per institution
      AddInsert(delta, std::move(row));
    }
    if (write(ready[1], "r", 1) != 1) _exit(2);
    ApplyResult result = server->ApplyUpdates(kCodes, delta, 0, {});
    _exit(result.errorCount == 0 ? 0 : 1);
  }
  close(ready[1]);
  char signal = 0;
  ASSERT_EQ(read(ready[0], &signal, 1), 1);
  close(ready[0]);
  // Kill once the uncommitted transaction has spilled pages into SQLite's write-ahead log
  // (PostgreSQL: after a while of writing).
  const std::string wal = file + "-wal";
  for (int i = 0; i < (testdb::OnPostgres() ? 300 : 2000); ++i) {
    std::error_code ec;
    if (std::filesystem::file_size(wal, ec) > 512 * 1024) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);

  auto db = OpenDatabase(file);
  auto count = db->Prepare("SELECT COUNT(*) FROM VWOAFWEZIGHEIDSCODE WHERE VAC_INSTELLING_FK = 2");
  ASSERT_TRUE(count->Step());
  int64_t rows = count->ColumnInt64(0);
  EXPECT_TRUE(rows == 0 || rows == kRows) << rows << " rows survived";
  if (db->engine() != Engine::Sqlite) return;
  auto check = db->Prepare("PRAGMA integrity_check");
  ASSERT_TRUE(check->Step());
  EXPECT_EQ(check->ColumnText(0), "ok");
}

}  // namespace
}  // namespace quil::server::testing
