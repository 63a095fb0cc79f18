// Bulk work is all-or-nothing: a failure inside the flag undoes the dataset's changes and stores
// nothing; a normal end sends one apply; a failing final apply keeps the log.
#include <gtest/gtest.h>

#include "DataSetFixture.h"
#include "host/base/Errors.h"
#include "host/data/Guards.h"

namespace quil::testing {
namespace {

class BulkChangeTest : public DataSetTest {
 protected:
  void SetUp() override {
    DataSetTest::SetUp();
    std::vector<Row> rows;
    for (int i = 1; i <= 100; ++i) {
      rows.push_back(ModuleRow(i, ("M" + std::to_string(i)).c_str(), "Les", 0, 1 + i % 2));
    }
    server.AddProvider("DSPLessen", ModuleFields(), "VOM_ID", std::move(rows));
    lessons.SetProvName("DSPLessen");
    lessons.IDField = "VOM_ID";
  }

  //! Every record of the dataset (filter ignored) as "id:code:flags", plus the change count.
  std::string Everything() {
    DataPacket packet = lessons.GetDataPacket();
    std::string out;
    for (const Row& row : packet.rows) {
      out += row[0].AsString() + ":" + row[1].AsString() + ":" + row[3].AsString() + " ";
    }
    return out + "log " + std::to_string(lessons.ChangeCount());
  }

  //! The server's rows in the same form.
  std::string OnServer() {
    std::string out;
    for (const Row& row : server.Provider("DSPLessen").rows) {
      out += row[0].AsString() + ":" + row[1].AsString() + ":" + row[3].AsString() + " ";
    }
    return out;
  }

  //! Where the dataset stands: filter, current record, edges, state and flags.
  std::string Position() {
    return Format(
        "filter '%s' %s, sort '%s', #%d of %d, id %s, bof %d eof %d, state %d, modified %d, "
        "bulk %d",
        lessons.Filter(), lessons.Filtered() ? "on" : "off", lessons.SortFields(), lessons.RecNo(),
        lessons.RecordCount(), lessons.FieldByName("VOM_ID").AsString(), int{lessons.Bof()},
        int{lessons.Eof()}, static_cast<int>(lessons.State()), int{lessons.Modified()},
        int{lessons.GetBulkChange()});
  }

  //! Sets the flags of every record in view; inserts one and deletes one on the way. Throws on
  //! the record whose id is `failAt`.
  void Work(int failAt) {
    lessons.First();
    while (!lessons.Eof()) {
      int id = lessons.FieldByName("VOM_ID").AsInteger();
      lessons.Edit();
      lessons.FieldByName("VOM_FLAGS").SetAsInteger(7);
      if (id == failAt) RaiseClientError("Les 40 kan niet gewijzigd worden");
      lessons.Post();
      lessons.Next();
    }
    lessons.Append();
    lessons.FieldByName("VOM_CODE").SetAsString("NIEUW");
    lessons.Post();
    lessons.LocateID(3);
    lessons.Delete();
  }

  TQuilClientDataSet lessons{&dm, "CDSLessen"};
};

TEST_F(BulkChangeTest, WorkFailingOnTheFortiethOfHundredStoresNothingAndRestoresTheDataset) {
  struct Case {
    const char* name;
    bool autoCommit;
    const char* filter;
    const char* sort;
    int startAt;  // id of the current record before the work
  } cases[] = {
      {"auto-commit, no filter", true, "", "", 17},
      {"auto-commit, filtered and changing the filter", true, "VOM_SC_FK = 1", "", 40},
      {"changes kept until applied", false, "", "", 100},
      {"sorted on the code, the work sorting on the school", true, "", "VOM_CODE", 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lessons.Close();
    lessons.SetAutoCommit(c.autoCommit);
    lessons.MaybeApplyFilter(c.filter);
    lessons.SetSortFields(c.sort);
    lessons.Open();
    ASSERT_TRUE(lessons.LocateID(c.startAt));
    const std::string stored = OnServer();
    const std::string records = Everything();
    const std::string position = Position();
    const int applies = server.applyCalls;
    try {
      BulkChangeGuard bulk(lessons);
      lessons.MaybeApplyFilter("VOM_ID <= 50");
      if (*c.sort) lessons.SetSortFields("VOM_SC_FK");
      Work(40);
      FAIL() << "the work must fail";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), "Les 40 kan niet gewijzigd worden");
    }
    EXPECT_EQ(server.applyCalls, applies);
    EXPECT_EQ(OnServer(), stored);
    EXPECT_EQ(Everything(), records);
    EXPECT_EQ(Position(), position);
    // What was undone is gone for good: a later apply sends nothing of it.
    lessons.ApplyUpdates(0);
    EXPECT_EQ(OnServer(), stored);
  }
}

TEST_F(BulkChangeTest, UndoBringsBackInsertedDeletedAndEarlierPendingChanges) {
  lessons.SetAutoCommit(false);
  lessons.Open();
  lessons.LocateID(5);
  lessons.Edit();
  lessons.FieldByName("VOM_CODE").SetAsString("VOOR");  // pending from before the bulk work
  lessons.Post();
  lessons.LocateID(6);
  lessons.Delete();
  const std::string records = Everything();
  const std::string position = Position();
  EXPECT_THROW(
      {
        BulkChangeGuard bulk(lessons);
        lessons.LocateID(5);
        lessons.Edit();
        lessons.FieldByName("VOM_CODE").SetAsString("TIJDENS");
        lessons.Post();
        lessons.LocateID(7);
        lessons.Delete();
        lessons.SetSortFields("VOM_CODE");
        lessons.Insert();
        lessons.FieldByName("VOM_CODE").SetAsString("X");
        Abort();  // in insert state
      },
      EAbort);
  EXPECT_EQ(Everything(), records);
  EXPECT_EQ(Position(), position);
  EXPECT_EQ(lessons.SortFields(), "");
  ASSERT_TRUE(lessons.LocateID(5));
  EXPECT_EQ(lessons.FieldByName("VOM_CODE").OldValue().AsString(), "M5");
  ASSERT_EQ(lessons.ApplyUpdates(0), 0);
  lessons.Close();
  lessons.Open();
  ASSERT_TRUE(lessons.LocateID(5));
  EXPECT_EQ(lessons.FieldByName("VOM_CODE").AsString(), "VOOR");
  EXPECT_FALSE(lessons.LocateID(6));
  EXPECT_TRUE(lessons.LocateID(7));
  EXPECT_EQ(lessons.RecordCount(), 99);
}

TEST_F(BulkChangeTest, NormalEndSendsEverythingAsOneApply) {
  lessons.Open();
  lessons.LocateID(60);
  int heard = 0;
  TDataSource source(&lessons);
  source.AddListener([&heard](DataEvent, TField*) { ++heard; });
  const int applies = server.applyCalls;
  {
    BulkChangeGuard bulk(lessons);
    Work(-1);
    EXPECT_EQ(server.applyCalls, applies);
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(lessons.ChangeCount(), 101);  // record 3 changed, then deleted: one entry
  }
  EXPECT_EQ(server.applyCalls, applies + 1);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_FALSE(lessons.GetBulkChange());
  const std::string stored = OnServer();
  EXPECT_EQ(stored.find(":0 "), std::string::npos) << stored;  // every flag set
  EXPECT_NE(stored.find(":NIEUW:"), std::string::npos);
  EXPECT_EQ(stored.find(" 3:M3:"), std::string::npos);
  EXPECT_EQ(server.Provider("DSPLessen").rows.size(), 100u);
}

TEST_F(BulkChangeTest, FailingFinalApplyKeepsTheLogAndRaisesTheServersMessage) {
  server.Provider("DSPLessen").check = [](const DeltaRow& row) {
    return row.kind == DeltaKind::Insert ? std::string("Nieuwe lessen zijn niet toegelaten")
                                         : std::string();
  };
  lessons.Open();
  const std::string stored = OnServer();
  try {
    BulkChangeGuard bulk(lessons);
    Work(-1);
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(), "Nieuwe lessen zijn niet toegelaten");
  }
  EXPECT_EQ(OnServer(), stored);
  EXPECT_EQ(lessons.ChangeCount(), 101);  // record 3 changed, then deleted: one entry
  EXPECT_FALSE(lessons.GetBulkChange());
  EXPECT_TRUE(lessons.Locate("VOM_CODE", Variant("NIEUW")));
  // Once the server accepts, the kept log goes in full.
  server.Provider("DSPLessen").check = nullptr;
  EXPECT_EQ(lessons.ApplyUpdates(0), 0);
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_EQ(server.Provider("DSPLessen").rows.size(), 100u);
}

// A normal end sends what auto-commit would have sent: nothing when nothing changed, nothing
// while the changes are kept until applied.
TEST_F(BulkChangeTest, ANormalEndAppliesOnlyWhatAutoCommitWouldSend) {
  struct Case {
    const char* name;
    bool autoCommit;
    bool change;
    int applies;
    int log;
  } cases[] = {
      {"nothing changed", true, false, 0, 0},
      {"auto-commit", true, true, 1, 0},
      {"changes kept until applied", false, true, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lessons.Close();
    lessons.SetAutoCommit(c.autoCommit);
    lessons.Open();
    const int applies = server.applyCalls;
    {
      BulkChangeGuard bulk(lessons);
      if (c.change) {
        lessons.LocateID(1);
        lessons.Edit();
        lessons.FieldByName("VOM_CODE").SetAsString("EEN");
        lessons.Post();
      }
    }
    EXPECT_EQ(server.applyCalls - applies, c.applies);
    EXPECT_EQ(lessons.ChangeCount(), c.log);
  }
}

TEST_F(BulkChangeTest, UndoTurnsTheFilterBackOffAsItWas) {
  lessons.Open();
  lessons.SetFilter("VOM_SC_FK = 1");  // the text stays while the filter is off
  lessons.SetFiltered(false);
  const std::string position = Position();
  EXPECT_THROW(
      {
        BulkChangeGuard bulk(lessons);
        lessons.SetFiltered(true);
        Abort();
      },
      EAbort);
  EXPECT_EQ(Position(), position);
  EXPECT_EQ(lessons.RecordCount(), 100);
}

// The work opened the dataset: the undo closes it again without the fields its packet brought
// (declared fields stay), and it opens as it would have before, filtered and sorted.
TEST_F(BulkChangeTest, UndoOfAnOpenClosesTheDatasetAgain) {
  lessons.AddField({"VOM_CODE", FieldType::String, 8}, FieldKind::Data);
  lessons.AddField({"VOM_FLAGS", FieldType::Integer}, FieldKind::Data);
  lessons.MaybeApplyFilter("VOM_SC_FK = 1");
  lessons.SetSortFields("VOM_OMSCHRIJVING");  // a field the packet brings
  const std::string stored = OnServer();
  EXPECT_THROW(
      {
        BulkChangeGuard bulk(lessons);
        lessons.Open();
        Work(40);
      },
      EClientError);
  EXPECT_FALSE(lessons.Active());
  EXPECT_EQ(lessons.RecordCount(), 0);
  ASSERT_EQ(lessons.FieldCount(), 2);
  for (int i = 0; i < 2; ++i) {
    TField& field = lessons.Fields(i);
    EXPECT_EQ(lessons.FindField(field.FieldName()), &field);
    EXPECT_EQ(field.Index(), -1);  // no record to hold a value
  }
  EXPECT_EQ(lessons.FindField("VOM_ID"), nullptr);
  EXPECT_TRUE(lessons.DataFieldDefs().empty());
  lessons.Open();
  EXPECT_EQ(
      Position(),
      "filter 'VOM_SC_FK = 1' on, sort 'VOM_OMSCHRIJVING', #1 of 50, id 2, bof 1 eof 0, state 1, "
      "modified 0, bulk 0");
  EXPECT_EQ(Everything(), stored + "log 0");
}

// An in-memory table whose first column is not in storage order, sorted and filtered; the failing
// work edits it, or re-creates it with other columns. The undo brings the table back as it was:
// columns, records, order, filter and current record.
TEST_F(BulkChangeTest, UndoRestoresATableTheWorkRecreated) {
  const std::vector<FieldDef> places = {{"NAAM", FieldType::String, 20},
                                        {"SOORT", FieldType::Integer}};
  struct Case {
    const char* name;
    std::vector<FieldDef> recreate;  // empty: the work only edits
  } cases[] = {
      {"only edited", {}},
      {"a column added in front",
       {{"NR", FieldType::Integer},
        {"NAAM", FieldType::String, 20},
        {"SOORT", FieldType::Integer}}},
      {"every column of another type",
       {{"NAAM", FieldType::Integer}, {"SOORT", FieldType::String, 5}}},
      {"the columns renamed", {{"PLAATS", FieldType::String, 20}, {"TYPE", FieldType::Integer}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQuilClientDataSet table{&dm, "plaatsen"};
    table.CreateDataSet(places);
    for (auto [name, kind] :
         {std::pair{"Zwolle", 1}, {"Assen", 2}, {"Deventer", 1}, {"Almelo", 1}}) {
      table.Append();
      table.FieldByName("NAAM").SetAsString(name);
      table.FieldByName("SOORT").SetAsInteger(kind);
      table.Post();
    }
    table.SetSortFields("NAAM");
    table.MaybeApplyFilter("SOORT = 1");
    table.Last();
    auto shown = [&table] {
      std::string out;
      for (int i = 0; i < table.FieldCount(); ++i) {
        out += table.Fields(i).FieldName() + "/" +
               std::to_string(static_cast<int>(table.Fields(i).DataType())) + " ";
      }
      out += "|";
      for (int i = 0; i < table.RecordCount(); ++i) {
        Row row = table.RowAt(i);
        out += i + 1 == table.RecNo() ? " *" : " ";
        out += row[0].AsString() + ":" + row[1].AsString();
      }
      return out;
    };
    const std::string before = shown();
    ASSERT_EQ(before, "NAAM/0 SOORT/1 | Almelo:1 Deventer:1 *Zwolle:1");
    EXPECT_ANY_THROW({
      BulkChangeGuard bulk(table);
      table.First();
      table.Edit();
      table.FieldByName("NAAM").SetAsString("Zutphen");
      table.Post();
      if (!c.recreate.empty()) {
        table.CreateDataSet(c.recreate);
        table.Append();
        table.Post();
      }
      RaiseClientError("mislukt");
    });
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(table.ChangeCount(), 0);
  }
}

TEST_F(BulkChangeTest, NestedGuardsOnlyTheOutermostApplies) {
  lessons.Open();
  const int applies = server.applyCalls;
  {
    BulkChangeGuard outer(lessons);
    lessons.LocateID(1);
    lessons.Edit();
    lessons.FieldByName("VOM_CODE").SetAsString("BUITEN");
    lessons.Post();
    {
      BulkChangeGuard inner(lessons);
      lessons.LocateID(2);
      lessons.Edit();
      lessons.FieldByName("VOM_CODE").SetAsString("BINNEN");
      lessons.Post();
    }
    EXPECT_EQ(server.applyCalls, applies);  // an inner end applies nothing
    EXPECT_TRUE(lessons.GetBulkChange());
    // A failing inner part that the screen catches undoes only its own work.
    try {
      BulkChangeGuard inner(lessons);
      lessons.LocateID(4);
      lessons.Delete();
      RaiseClientError("mislukt");
    } catch (const EClientError&) {
    }
    EXPECT_TRUE(lessons.GetBulkChange());
    EXPECT_EQ(lessons.ChangeCount(), 2);
    EXPECT_EQ(lessons.FieldByName("VOM_CODE").AsString(), "BINNEN");  // cursor as before
  }
  EXPECT_EQ(server.applyCalls, applies + 1);
  EXPECT_EQ(OnServer().substr(0, 33), "1:BUITEN:0 2:BINNEN:0 3:M3:0 4:M4");
  EXPECT_EQ(server.Provider("DSPLessen").rows.size(), 100u);
}

// A change the server refused stays in the log; a later bulk change that changes nothing does not
// send it again, also after an earlier bulk change applied.
TEST_F(BulkChangeTest, AnEmptyBulkChangeDoesNotResendARefusedChange) {
  lessons.Open();
  {
    BulkChangeGuard bulk(lessons);
    lessons.Edit();
    lessons.FieldByName("VOM_CODE").SetAsString("EEN");
    lessons.Post();
  }
  server.Provider("DSPLessen").rows[1][1] = Variant("ANDER");  // another user's change
  lessons.Next();
  lessons.Edit();
  lessons.FieldByName("VOM_CODE").SetAsString("TWEE");
  EXPECT_THROW(lessons.Post(), EClientError);
  const int applies = server.applyCalls;
  { BulkChangeGuard bulk(lessons); }
  EXPECT_EQ(server.applyCalls, applies);
  EXPECT_EQ(lessons.ChangeCount(), 1);
}

TEST_F(BulkChangeTest, AnEditInProgressBelongsToWhatWentBefore) {
  lessons.Open();
  lessons.Edit();
  lessons.FieldByName("VOM_CODE").SetAsString("EERST");
  const int applies = server.applyCalls;
  try {
    BulkChangeGuard bulk(lessons);
    EXPECT_EQ(server.applyCalls, applies + 1);  // posted and applied on its own
    lessons.Next();
    lessons.Edit();
    lessons.FieldByName("VOM_CODE").SetAsString("DAARNA");
    RaiseClientError("mislukt");
  } catch (const EClientError&) {
  }
  EXPECT_EQ(OnServer().substr(0, 18), "1:EERST:0 2:M2:0 3");
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_EQ(lessons.FieldByName("VOM_ID").AsInteger(), 1);
}

TEST_F(BulkChangeTest, WhatAnExplicitApplyStoredStaysWhenTheWorkFailsLater) {
  lessons.Open();
  try {
    BulkChangeGuard bulk(lessons);
    lessons.Edit();
    lessons.FieldByName("VOM_CODE").SetAsString("BEWAARD");
    lessons.Post();
    lessons.ApplyUpdates(0);
    lessons.Next();
    lessons.Edit();
    lessons.FieldByName("VOM_CODE").SetAsString("WEG");
    lessons.Post();
    RaiseClientError("mislukt");
  } catch (const EClientError&) {
  }
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_EQ(OnServer().substr(0, 20), "1:BEWAARD:0 2:M2:0 3");
  EXPECT_EQ(Everything().substr(0, 20), "1:BEWAARD:0 2:M2:0 3");
}

TEST_F(BulkChangeTest, TheFlagAloneGathersAndAppliesAtTheEnd) {
  lessons.Open();
  const int applies = server.applyCalls;
  lessons.SetBulkChange(true);
  lessons.Delete();
  lessons.Delete();
  EXPECT_EQ(server.applyCalls, applies);
  lessons.SetBulkChange(false);
  EXPECT_EQ(server.applyCalls, applies + 1);
  EXPECT_EQ(server.Provider("DSPLessen").rows.size(), 98u);
  // Cancelling returns to where the flag was set.
  lessons.SetBulkChange(true);
  lessons.Delete();
  lessons.CancelBulkChange();
  EXPECT_FALSE(lessons.GetBulkChange());
  EXPECT_EQ(lessons.RecordCount(), 98);
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_EQ(server.applyCalls, applies + 1);
}

TEST_F(BulkChangeTest, SetSelectedFieldIsOneBulkChange) {
  lessons.Open();
  lessons.FieldByName("VOM_OMSCHRIJVING").OnValidate = [this](TField&) {
    if (lessons.FieldByName("VOM_ID").AsInteger() == 40) RaiseClientError("niet aanvinkbaar");
  };
  lessons.LocateID(10);
  TDataSource source(&lessons);
  const std::string stored = OnServer();
  EXPECT_THROW(SetSelectedField(source, "VOM_OMSCHRIJVING", true), EClientError);
  EXPECT_EQ(OnServer(), stored);
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_EQ(lessons.FieldByName("VOM_ID").AsInteger(), 10);
  EXPECT_FALSE(lessons.ControlsDisabled());
}

}  // namespace
}  // namespace quil::testing
