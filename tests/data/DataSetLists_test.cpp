#include <gtest/gtest.h>

#include "DataSetFixture.h"
#include "host/base/Errors.h"
#include "host/data/CachedClientDataSet.h"

namespace quil::testing {
namespace {

class CodedListTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    std::vector<FieldDef> fields = {{"P_ID", FieldType::Integer},
                                    {"P_CODE", FieldType::String, 10},
                                    {"P_OMSCHRIJVING", FieldType::String, 100},
                                    {"P_TYPE", FieldType::String, 10},
                                    {"IS_ID", FieldType::Integer}};
    server.AddProvider(
        "DSPSelectISParam", fields, "P_ID",
        {{Variant(1), Variant("B"), Variant("Betalend"), Variant("TPKP"), Variant(7)},
         {Variant(2), Variant("?"), Variant("Onbekend"), Variant("TPKP"), Variant(7)},
         {Variant(3), Variant("A"), Variant("Ander"), Variant("TPKP"), Variant(8)},
         {Variant(4), Variant("X"), Variant("Extra"), Variant("TPCP"), Variant(7)}});
  }
};

TEST_F(CodedListTest, InstitutionCodesAreCachedPerSessionAndHaveADefault) {
  TInstellingParamClientDataset kinds(&dm, "CDSKC_TYPE_FKP", "TPKP");
  kinds.SetInstelling(7);
  kinds.Open();
  std::string codes;
  for (kinds.First(); !kinds.Eof(); kinds.Next()) codes += kinds.FieldByName("P_CODE").AsString();
  EXPECT_EQ(codes, "?B");  // sorted on the code
  EXPECT_EQ(kinds.GetDefaultID(), 2);

  int fetches = server.getRecordsCalls;
  TInstellingParamClientDataset again(&dm, "again", "TPKP");
  again.SetInstelling(7);
  again.Open();
  EXPECT_EQ(server.getRecordsCalls, fetches);  // answered from the session's cache
  EXPECT_THROW(again.Edit(), EClientError);    // a cached list is read-only

  server.Provider("DSPSelectISParam").rows[0][1] = Variant("C");
  again.RefreshCache();
  EXPECT_EQ(server.getRecordsCalls, fetches + 1);
  EXPECT_TRUE(again.Locate("P_CODE", Variant("C")));

  TInstellingParamClientDataset other(&dm, "other", "TPKP");
  other.SetInstelling(8);
  other.Open();
  EXPECT_EQ(other.RecordCount(), 1);
  EXPECT_EQ(other.GetDefaultID(), -1);  // no "?" entry
}

TEST_F(DataSetTest, RefreshKeepsTheRecordAndRefusesPendingChanges) {
  ds.Open();
  ds.LocateID(3);
  server.Provider("DSPModules")
      .rows.insert(server.Provider("DSPModules").rows.begin(), ModuleRow(9, "LAT", "Latijn", 0, 1));
  ds.Refresh();
  EXPECT_EQ(Shown(), "9:LAT 1:WIS 2:NED *3:eng 4:FRA");

  ds.SetAutoCommit(false);
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("EN");
  ds.Post();
  try {
    ds.Refresh();
    FAIL();
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(), "Er zijn nog wijzigingen die niet bewaard zijn");
  }
  EXPECT_EQ(ds.ChangeCount(), 1);
}

TEST_F(DataSetTest, FetchParamsKeepsValuesOfKnownParametersOnly) {
  ds.GetParams().Add("VOM_SC_FK", FieldType::Integer).SetAsInteger(2);
  ds.GetParams().Add("GEEN_PARAMETER", FieldType::Integer).SetAsInteger(7);
  ds.FetchParams();
  ASSERT_EQ(ds.GetParams().Count(), 1);
  EXPECT_EQ(ds.ParamByName("VOM_SC_FK").AsInteger(), 2);
  ds.Open();
  EXPECT_EQ(Shown(), "*3:eng");
  ds.Close();
  EXPECT_EQ(ds.RecNo(), 0);
  EXPECT_TRUE(ds.Eof());
}

TEST_F(DataSetTest, RefreshParamReloadsWithTheNewValue) {
  ds.FetchParams();
  ds.RefreshParam(Variant(2));
  EXPECT_EQ(Shown(), "*3:eng");
  ds.RefreshParam("VOM_SC_FK", Variant(1));
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 4:FRA");
  ds.RefreshParamPair("VOM_SC_FK", "VOM_FLAGS", Variant(1), Variant(2));
  EXPECT_EQ(Shown(), "*4:FRA");
}

TEST_F(DataSetTest, ReconcileCancelUndoesTheRefusedChange) {
  server.Provider("DSPModules").check = [](const DeltaRow& row) {
    return row.kind == DeltaKind::Delete ? std::string("Module is nog in gebruik") : std::string();
  };
  ds.Open();
  std::string message;
  ds.OnReconcileError = [&message](TQuilClientDataSet&, const ReconcileInfo& info) {
    message = info.message;
    return ReconcileAction::Cancel;
  };
  ds.LocateID(2);
  ds.Delete();  // auto-commit: refused, and the handler brings the record back
  EXPECT_EQ(message, "Module is nog in gebruik");
  EXPECT_EQ(ds.ChangeCount(), 0);
  EXPECT_EQ(ds.RecordCount(), 4);
  EXPECT_TRUE(ds.LocateID(2));
  // The record brought back and one appended after it each keep a bookmark of their own.
  ds.Append();
  ds.FieldByName("VOM_ID").SetAsInteger(5);
  ds.FieldByName("VOM_CODE").SetAsString("DUI");
  ds.Post();
  std::vector<std::pair<TBookmark, std::string>> marks;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    marks.emplace_back(ds.GetBookmark(), ds.FieldByName("VOM_CODE").AsString());
  }
  ASSERT_EQ(marks.size(), 5u);
  for (const auto& [mark, code] : marks) {
    ds.GotoBookmark(mark);
    EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), code);
  }
}

TEST_F(DataSetTest, DeltaListsChangesInTheOrderTheyWereMade) {
  std::vector<std::string> seen;
  server.Provider("DSPModules").check = [&seen](const DeltaRow& row) {
    static const char* const kKinds[] = {"insert", "modify", "delete"};
    const Row& values = row.kind == DeltaKind::Delete ? row.original : row.current;
    seen.push_back(std::string(kKinds[static_cast<int>(row.kind)]) + " " + values[1].AsString());
    return std::string();
  };
  ds.SetAutoCommit(false);
  ds.Open();
  ds.LocateID(4);
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("FR");
  ds.Post();
  ds.LocateID(1);
  ds.Delete();  // the code WIS is free again ...
  ds.Append();  // ... and taken by a new record
  ds.FieldByName("VOM_CODE").SetAsString("WIS");
  ds.Post();
  EXPECT_EQ(ds.ApplyUpdates(0), 0);
  EXPECT_EQ(::testing::PrintToString(seen), ::testing::PrintToString(std::vector<std::string>{
                                                "modify FR", "delete WIS", "insert WIS"}));
}

// LocateID off the sort order goes through an index that must follow every change of the view.
TEST_F(DataSetTest, LocateIDFollowsInsertsDeletesFiltersAndKeyChanges) {
  ds.SetSortFields("VOM_CODE");
  ds.Open();
  auto at = [this](int64_t id) {
    return ds.LocateID(id) ? ds.FieldByName("VOM_CODE").AsString() : std::string("-");
  };
  EXPECT_EQ(at(2), "NED");
  ds.Append();
  ds.FieldByName("VOM_CODE").SetAsString("AAA");  // sorts first: every position shifts
  ds.Post();
  EXPECT_EQ(at(2), "NED");
  EXPECT_EQ(at(5), "AAA");
  ds.LocateID(3);
  ds.Delete();
  EXPECT_EQ(at(3), "-");
  EXPECT_EQ(at(1), "WIS");
  ds.LocateID(4);
  ds.Edit();
  ds.FieldByName("VOM_ID").SetAsInteger(40);
  ds.Post();
  EXPECT_EQ(at(4), "-");
  EXPECT_EQ(at(40), "FRA");
  ds.MaybeApplyFilter("VOM_SC_FK = 1");
  EXPECT_EQ(at(40), "FRA");
  ds.MaybeApplyFilter("VOM_SC_FK = 2");
  EXPECT_EQ(at(40), "-");
  EXPECT_EQ(Shown(), "");
}

TEST_F(DataSetTest, InMemoryDataSetKeepsItsRecordsAcrossCloseAndOpen) {
  TQuilClientDataSet memory{&dm, "memory"};
  memory.CreateDataSet({{"ID_TYPE", FieldType::Integer}, {"ID_NAAM", FieldType::String, 20}});
  for (int i = 0; i < 3; ++i) {
    memory.Append();
    memory.FieldByName("ID_TYPE").SetAsInteger(i % 2);
    memory.FieldByName("ID_NAAM").SetAsString("rij " + std::to_string(i));
    memory.Post();
  }
  EXPECT_EQ(memory.ChangeCount(), 0);  // nothing to send anywhere
  memory.MaybeApplyFilter("(ID_TYPE = 1)");
  EXPECT_EQ(memory.RecordCount(), 1);
  memory.Close();
  memory.Open();
  EXPECT_EQ(memory.RecordCount(), 1);  // filter still in force
  memory.MaybeApplyFilter("");
  EXPECT_EQ(memory.RecordCount(), 3);
}

}  // namespace
}  // namespace quil::testing
