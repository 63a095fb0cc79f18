#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "DataSetFixture.h"
#include "host/base/Errors.h"
#include "host/data/DataSource.h"
#include "host/data/Guards.h"

namespace quil::testing {
namespace {

// Records every event as one word, so the order is checked with one comparison.
struct EventLog {
  std::string text;
  void Hook(TQuilClientDataSet& ds) {
    auto add = [this](const char* name) {
      return [this, name](TQuilClientDataSet&) {
        if (!text.empty()) text += ' ';
        text += name;
      };
    };
    ds.BeforeOpen = add("BeforeOpen");
    ds.AfterOpen = add("AfterOpen");
    ds.BeforeInsert = add("BeforeInsert");
    ds.OnNewRecord = add("OnNewRecord");
    ds.AfterInsert = add("AfterInsert");
    ds.BeforeEdit = add("BeforeEdit");
    ds.AfterEdit = add("AfterEdit");
    ds.BeforePost = add("BeforePost");
    ds.AfterPost = add("AfterPost");
    ds.BeforeCancel = add("BeforeCancel");
    ds.AfterCancel = add("AfterCancel");
    ds.BeforeDelete = add("BeforeDelete");
    ds.AfterDelete = add("AfterDelete");
    ds.BeforeScroll = add("BeforeScroll");
    ds.AfterScroll = add("AfterScroll");
  }
  std::string Take() { return std::exchange(text, ""); }
};

TEST_F(DataSetTest, EventsRunInTheClassicOrder) {
  EventLog log;
  log.Hook(ds);
  ds.Open();
  EXPECT_EQ(log.Take(), "BeforeOpen AfterOpen AfterScroll");
  ds.Next();
  EXPECT_EQ(log.Take(), "BeforeScroll AfterScroll");
  ds.Last();
  EXPECT_EQ(log.Take(), "BeforeScroll AfterScroll");
  ds.Next();  // already at the end it moves toward: nothing
  EXPECT_EQ(log.Take(), "");
  ds.First();
  EXPECT_EQ(log.Take(), "BeforeScroll AfterScroll");
  ds.Prior();
  EXPECT_EQ(log.Take(), "");
  ds.Refresh();  // back on the same record: one AfterScroll, no scroll of its own
  EXPECT_EQ(log.Take(), "AfterScroll");
  ds.SetRecNo(3);  // as a grid moves
  EXPECT_EQ(log.Take(), "BeforeScroll AfterScroll");
  ds.Last();
  log.Take();
  ds.Append();
  EXPECT_EQ(log.Take(), "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll");
  ds.FieldByName("VOM_CODE").SetAsString("BIO");
  ds.Post();
  EXPECT_EQ(log.Take(), "BeforePost AfterPost");
  ds.Edit();
  EXPECT_EQ(log.Take(), "BeforeEdit AfterEdit");
  ds.Cancel();
  EXPECT_EQ(log.Take(), "BeforeCancel AfterCancel AfterScroll");
  ds.Delete();
  EXPECT_EQ(log.Take(), "BeforeDelete AfterDelete AfterScroll");
}

TEST_F(DataSetTest, NewRecordTakesGeneratedIdAndParameterFields) {
  ds.GetParams().Add("VOM_SC_FK", FieldType::Integer).SetAsInteger(1);
  ds.ParamToFields = "VOM_SC_FK";
  ds.Open();
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 4:FRA");
  ds.Append();
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 5);  // the provider's generator
  EXPECT_EQ(ds.FieldByName("VOM_SC_FK").AsInteger(), 1);
}

TEST_F(DataSetTest, FailingBeforePostKeepsTheEdit) {
  ds.Open();
  ds.BeforePost = [](TQuilClientDataSet&) { RaiseClientError("Code bestaat al"); };
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("XYZ");
  EXPECT_THROW(ds.Post(), EClientError);
  EXPECT_EQ(ds.State(), DataSetState::Edit);
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "XYZ");
  EXPECT_EQ(ds.ChangeCount(), 0);
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA");
}

TEST_F(DataSetTest, RequiredCheckRunsAfterBeforePost) {
  ds.Open();
  ds.Append();
  ds.FieldByName("VOM_OMSCHRIJVING").SetAsString("Biologie");
  try {
    ds.Post();
    FAIL() << "post without code";
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(), "Veld 'VOM_CODE' moet een waarde hebben");
  }
  EXPECT_EQ(ds.State(), DataSetState::Insert);
  // A BeforePost that fills the field satisfies the check.
  ds.BeforePost = [](TQuilClientDataSet& d) { d.FieldByName("VOM_CODE").SetAsString("BIO"); };
  ds.Post();
  EXPECT_EQ(ds.State(), DataSetState::Browse);
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA 5:BIO");
}

TEST_F(DataSetTest, BadValuesRaiseClearErrorsAndKeepTheOldValue) {
  ds.Open();
  ds.Edit();
  struct Case {
    const char* field;
    Variant value;
    const char* message;
  } cases[] = {
      {"VOM_FLAGS", Variant("abc"), "Ongeldige waarde 'abc' voor veld 'VOM_FLAGS'"},
      {"VOM_VAN", Variant("31/02/2025"), "Ongeldige waarde '31/02/2025' voor veld 'VOM_VAN'"},
      {"VOM_CODE", Variant("ABCDEFGHIJ"),
       "Waarde te lang voor veld 'VOM_CODE' (maximaal 8 tekens)"},
      {"VOM_FLAGS", Variant(5000000000LL), "Waarde 5000000000 buiten bereik voor veld 'VOM_FLAGS'"},
      {"GEEN_VELD", Variant(1), "Veld 'GEEN_VELD' niet gevonden"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      ds.FieldByName(c.field).SetValue(c.value);
      ADD_FAILURE() << "no error";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(ds.FieldByName("VOM_FLAGS").AsInteger(), 0);
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "WIS");
  EXPECT_EQ(ds.FieldByName("VOM_VAN").AsDateTime(), EncodeDate(2025, 9, 1));
  // Writing outside edit mode is refused too.
  ds.Cancel();
  EXPECT_THROW(ds.FieldByName("VOM_CODE").SetAsString("X"), EClientError);
}

TEST_F(DataSetTest, OnValidateRefusalKeepsTheOldValue) {
  ds.Open();
  TField& code = ds.FieldByName("VOM_CODE");
  code.OnValidate = [](TField& f) {
    if (f.AsString() == "???") RaiseClientError("Ongeldige code");
  };
  int changes = 0;
  code.OnChange = [&changes](TField&) { ++changes; };
  ds.Edit();
  EXPECT_THROW(code.SetAsString("???"), EClientError);
  EXPECT_EQ(code.AsString(), "WIS");
  code.SetAsString("WIB");
  EXPECT_EQ(changes, 1);
}

TEST_F(DataSetTest, ChangeLogKeepsOneEntryPerRecord) {
  ds.SetAutoCommit(false);
  ds.Open();
  // Edit twice: one entry, first originals kept.
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("W1");
  ds.Post();
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("W2");
  ds.Post();
  EXPECT_EQ(ds.ChangeCount(), 1);
  EXPECT_EQ(ds.FieldByName("VOM_CODE").OldValue().AsString(), "WIS");
  // Insert then edit stays one insert; insert then delete leaves nothing.
  ds.Append();
  ds.FieldByName("VOM_CODE").SetAsString("N1");
  ds.Post();
  ds.Edit();
  ds.FieldByName("VOM_OMSCHRIJVING").SetAsString("Nieuw");
  ds.Post();
  EXPECT_EQ(ds.ChangeCount(), 2);
  EXPECT_EQ(ds.UpdateStatus(), RecordStatus::Inserted);
  ds.Delete();
  EXPECT_EQ(ds.ChangeCount(), 1);
  // Deleting a changed record sends its fetched values.
  ds.First();
  ds.Delete();
  EXPECT_EQ(ds.ChangeCount(), 1);
  EXPECT_EQ(ds.ApplyUpdates(0), 0);
  EXPECT_EQ(Stored(), "2:NED 3:eng 4:FRA");
}

TEST_F(DataSetTest, CancelUpdatesEqualsTheOriginalAndApplyEqualsAFreshFetch) {
  ds.SetAutoCommit(false);
  ds.Open();
  const std::string original = Shown();
  auto change = [this]() {
    ds.Locate("VOM_CODE", Variant("NED"));
    ds.Edit();
    ds.FieldByName("VOM_CODE").SetAsString("NL");
    ds.Post();
    ds.Locate("VOM_CODE", Variant("FRA"));
    ds.Delete();
    ds.Append();
    ds.FieldByName("VOM_CODE").SetAsString("DU");
    ds.Post();
    ds.First();
  };
  change();
  EXPECT_EQ(ds.ChangeCount(), 3);
  ds.CancelUpdates();
  EXPECT_EQ(ds.ChangeCount(), 0);
  EXPECT_EQ(Shown(), original);

  change();
  const std::string changed = Shown();
  EXPECT_EQ(ds.ApplyUpdates(0), 0);
  EXPECT_EQ(ds.ChangeCount(), 0);
  ds.Close();
  ds.Open();
  EXPECT_EQ(Shown(), changed);
}

// A change that depends on an earlier one (a new record another refers to) must reach the server
// after it.
TEST_F(DataSetTest, TheDeltaListsTheChangesInTheOrderTheyWereMade) {
  std::string order;
  server.Provider("DSPModules").check = [&order](const DeltaRow& row) {
    const Row& values = row.kind == DeltaKind::Delete ? row.original : row.current;
    order += values[1].AsString() + " ";
    return std::string();
  };
  ds.SetAutoCommit(false);
  ds.Open();
  for (const char* code : {"FRA", "NED", "", "WIS"}) {
    if (*code == '\0') {
      ds.Append();
      ds.FieldByName("VOM_CODE").SetAsString("DU");
      ds.Post();
      continue;
    }
    ASSERT_TRUE(ds.Locate("VOM_CODE", Variant(code)));
    if (std::string(code) == "NED") {
      ds.Delete();
      continue;
    }
    ds.Edit();
    ds.FieldByName("VOM_OMSCHRIJVING").SetAsString("gewijzigd");
    ds.Post();
  }
  EXPECT_EQ(ds.ApplyUpdates(-1), 0);
  EXPECT_EQ(order, "FRA NED DU WIS ");
}

TEST_F(DataSetTest, ApplyWithMaxErrorsZeroIsAllOrNothing) {
  server.Provider("DSPModules").check = [](const DeltaRow& row) {
    return row.kind != DeltaKind::Delete && row.current[1].AsString() == "BAD"
               ? std::string("Code BAD is niet toegelaten")
               : std::string();
  };
  ds.SetAutoCommit(false);
  EXPECT_EQ(ds.ApplyUpdates(0), 0);  // closed: nothing to send, no error
  EXPECT_EQ(server.applyCalls, 0);
  TQuilClientDataSet local{&dm, "local"};  // without a provider: the log is merged, no error
  local.CreateDataSet({{"L_ID", FieldType::Integer}});
  local.SetAutoCommit(false);
  local.Append();
  local.Post();
  ASSERT_EQ(local.ChangeCount(), 1);
  EXPECT_EQ(local.ApplyUpdates(0), 0);
  EXPECT_EQ(local.ChangeCount(), 0);
  ds.Open();
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("BAD");  // the first row of the delta
  ds.Post();
  ds.Next();
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("OK");
  ds.Post();
  try {
    ds.ApplyUpdates(0);
    FAIL() << "apply with an error and no reconcile handler must raise";
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(), "Code BAD is niet toegelaten");
  }
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA");
  EXPECT_EQ(ds.ChangeCount(), 2);  // nothing lost

  // With errors allowed, the good row is applied and the refused row stays in the log.
  std::vector<std::string> reconciled;
  ds.OnReconcileError = [&reconciled](TQuilClientDataSet&, const ReconcileInfo& info) {
    reconciled.push_back(info.original[1].AsString() + "->" + info.current[1].AsString() + ": " +
                         info.message);
    return ReconcileAction::Skip;
  };
  EXPECT_EQ(ds.ApplyUpdates(-1), 1);
  EXPECT_EQ(Stored(), "1:WIS 2:OK 3:eng 4:FRA");
  EXPECT_EQ(ds.ChangeCount(), 1);
  ASSERT_EQ(reconciled.size(), 1u);
  EXPECT_EQ(reconciled[0], "WIS->BAD: Code BAD is niet toegelaten");
  ds.First();
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "BAD");
}

TEST_F(DataSetTest, ConcurrentChangeIsRefusedAndKeptInTheLog) {
  TQuilClientDataSet other{&dm, "other"};
  other.SetProvName("DSPModules");
  other.Open();
  ds.Open();
  other.Edit();
  other.FieldByName("VOM_CODE").SetAsString("WIX");
  other.Post();  // auto-commit
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("WIY");
  try {
    ds.Post();
    FAIL();
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(), "Record werd intussen gewijzigd door een andere gebruiker");
  }
  EXPECT_EQ(ds.ChangeCount(), 1);
  EXPECT_EQ(Stored(), "1:WIX 2:NED 3:eng 4:FRA");
  // The next post sends the refused change again with its own: all or nothing.
  ds.Next();
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("NEX");
  EXPECT_THROW(ds.Post(), EClientError);
  EXPECT_EQ(ds.ChangeCount(), 2);
  EXPECT_EQ(Stored(), "1:WIX 2:NED 3:eng 4:FRA");
}

TEST_F(DataSetTest, SortIsStableAndBookmarksSurviveSortAndFilter) {
  ds.Open();
  ds.Locate("VOM_CODE", Variant("NED"));
  TBookmark ned = ds.GetBookmark();
  ds.SetSortFields("VOM_SC_FK;VOM_CODE");
  EXPECT_EQ(Shown(), "4:FRA *2:NED 1:WIS 3:eng");
  ds.SetSortFields("VOM_SC_FK");  // stable: fetch order within a school
  EXPECT_EQ(Shown(), "1:WIS *2:NED 4:FRA 3:eng");
  ds.MaybeApplyFilter("VOM_SC_FK = 2");
  EXPECT_FALSE(ds.BookmarkValid(ned));
  EXPECT_THROW(ds.GotoBookmark(ned), EClientError);
  ds.MaybeApplyFilter("");
  ds.GotoBookmark(ned);
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "NED");
}

// Enough records that the sort does not fall back to inserting one by one; the sort field is the
// first field.
TEST_F(DataSetTest, RecordsWithTheSameSortKeyKeepTheirOrder) {
  TQuilClientDataSet many{&dm, "many"};
  many.CreateDataSet({{"M_GROEP", FieldType::Integer}, {"M_ID", FieldType::Integer}});
  std::string expected[3];
  for (int id = 1; id <= 60; ++id) {
    many.Append();
    many.FieldByName("M_ID").SetAsInteger(id);
    many.FieldByName("M_GROEP").SetAsInteger(id % 3);
    many.Post();
    expected[id % 3] += std::to_string(id) + " ";
  }
  many.SetSortFields("M_GROEP");
  std::string shown;
  for (many.First(); !many.Eof(); many.Next()) shown += many.FieldByName("M_ID").AsString() + " ";
  EXPECT_EQ(shown, expected[0] + expected[1] + expected[2]);
}

TEST_F(DataSetTest, SortIgnoresCaseBeyondTheFirstLetters) {
  // The first seven letters tie; the rest decides, ignoring case, on opening and after a post.
  server.Provider("DSPModules").rows = {ModuleRow(1, "A", "ABCDEFGz", 0, 1),
                                        ModuleRow(2, "B", "abcdefgA", 0, 1),
                                        ModuleRow(3, "C", "abcdefgM", 0, 1)};
  ds.SetSortFields("VOM_OMSCHRIJVING");
  ds.Open();
  EXPECT_EQ(Shown(), "*2:B 3:C 1:A");
  ds.Edit();
  ds.FieldByName("VOM_OMSCHRIJVING").SetAsString("ABCDEFGN");
  ds.Post();
  EXPECT_EQ(Shown(), "3:C *2:B 1:A");
}

TEST_F(DataSetTest, AFilterSetBeforeOpenHoldsOnOpen) {
  ds.MaybeApplyFilter("VOM_SC_FK = 2");
  ds.Open();
  EXPECT_EQ(Shown(), "*3:eng");
  ds.Close();
  ds.SetFiltered(false);
  ds.Open();
  EXPECT_EQ(ds.RecordCount(), 4);
}

TEST_F(DataSetTest, SortOnDatesAndDeletingTheLastRecord) {
  ds.SetSortFields("VOM_VAN");
  ds.Open();
  EXPECT_EQ(Shown(), "*3:eng 1:WIS 2:NED 4:FRA");  // no date first
  ds.Last();
  ds.Delete();
  EXPECT_EQ(Shown(), "3:eng 1:WIS *2:NED");
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "NED");
  EXPECT_FALSE(ds.Eof());  // on a record again
}

TEST_F(DataSetTest, NewRecordsTakeMappedParametersAndBitsStartFromNothing) {
  TField& second = ds.AddBitField("VOM_TWEEDE", "VOM_FLAGS", 1);
  ds.GetParams().Add("SCHOOL", FieldType::Integer).SetAsInteger(2);
  ds.ParamToFields = "SCHOOL=VOM_SC_FK";
  ds.Open();
  ds.Edit();
  EXPECT_FALSE(ds.Modified());  // editing alone changes nothing
  ds.Cancel();
  ds.Append();
  EXPECT_FALSE(ds.Eof());
  EXPECT_FALSE(ds.Bof());
  EXPECT_EQ(ds.FieldByName("VOM_SC_FK").AsInteger(), 2);
  ds.FieldByName("VOM_FLAGS").Clear();
  second.SetAsBoolean(true);
  EXPECT_EQ(ds.FieldByName("VOM_FLAGS").AsInteger(), 2);
}

TEST_F(DataSetTest, EditWhileEditingKeepsWhatWasTyped) {
  ds.Open();
  ds.Edit();
  ds.FieldByName("VOM_OMSCHRIJVING").SetAsString("Wiskunde 2");
  ds.Edit();
  EXPECT_EQ(ds.FieldByName("VOM_OMSCHRIJVING").AsString(), "Wiskunde 2");
  EXPECT_EQ(ds.RowAt(0)[2].AsString(), "Wiskunde 2");  // the grid shows what is typed
  EXPECT_TRUE(ds.Modified());
  ds.Append();
  ds.FieldByName("VOM_CODE").SetAsString("DU");
  ds.Edit();
  EXPECT_EQ(ds.State(), DataSetState::Insert);
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "DU");
}

// A one-to-one detail takes its key from its master: a parameter may fill the first field.
TEST_F(DataSetTest, AParameterMayFillTheKeyOfANewRecord) {
  ds.GetParams().Add("MODULE", FieldType::Integer).SetAsInteger(40);
  ds.ParamToFields = "MODULE=VOM_ID";
  ds.Open();
  ds.Append();
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 40);
}

TEST_F(DataSetTest, ABookmarkLeadsBackToTheFirstAndTheLastRecord) {
  ds.Open();
  const TBookmark first = ds.GetBookmark();
  ds.Last();
  const TBookmark last = ds.GetBookmark();
  ds.GotoBookmark(first);
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 3:eng 4:FRA");
  ds.GotoBookmark(last);
  EXPECT_EQ(Shown(), "1:WIS 2:NED 3:eng *4:FRA");
}

TEST_F(DataSetTest, ALookupByAWholeNumberFindsADecimal) {
  TQuilClientDataSet prices{&dm, "prices"};
  prices.CreateDataSet({{"P_ID", FieldType::Integer}, {"P_PRIJS", FieldType::Currency, 18, 2}});
  for (auto [id, prijs] : {std::pair{1, Currency(12)}, {2, Currency::FromDouble(12.5)}}) {
    prices.Append();
    prices.FieldByName("P_ID").SetAsInteger(id);
    prices.FieldByName("P_PRIJS").SetAsCurrency(prijs);
    prices.Post();
  }
  EXPECT_EQ(prices.Lookup("P_PRIJS", Variant(12), "P_ID").AsInteger(), 1);
  EXPECT_EQ(prices.Lookup("P_ID", Variant(2), "P_PRIJS").AsString(), "12,5");
  // A key from a decimal field, or no key at all (a record without its reference).
  EXPECT_EQ(prices.Lookup("P_ID", Variant(2.0), "P_PRIJS").AsString(), "12,5");
  EXPECT_TRUE(prices.Lookup("P_ID", Variant(), "P_PRIJS").IsNull());
}

// Without a sort order the list keeps a record inserted where it was inserted, also when the list
// is built again.
TEST_F(DataSetTest, AnInsertedRecordKeepsItsPlaceWhenTheListIsRebuilt) {
  ds.SetAutoCommit(false);
  ds.Open();
  ds.SetRecNo(3);
  ds.Insert();
  ds.FieldByName("VOM_CODE").SetAsString("DU");
  ds.Post();
  ds.MaybeApplyFilter("VOM_SC_FK = 1 OR VOM_SC_FK = 2 OR VOM_SC_FK IS NULL");
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 5:DU 3:eng 4:FRA");
}

// A flags field may be the first field of its dataset.
TEST_F(DataSetTest, ABitOfTheFirstField) {
  TQuilClientDataSet flags{&dm, "flags"};
  flags.CreateDataSet({{"F_FLAGS", FieldType::Integer}});
  TField& second = flags.AddBitField("F_TWEEDE", "F_FLAGS", 1);
  flags.Append();
  second.SetAsBoolean(true);
  EXPECT_EQ(flags.FieldByName("F_FLAGS").AsInteger(), 2);
}

// A grid keeps its selection while the version stands: every new list has a version never seen.
TEST_F(DataSetTest, EveryNewListHasANewVersion) {
  std::set<uint64_t> seen{ds.Version()};
  auto changed = [this, &seen](const char* step) {
    EXPECT_TRUE(seen.insert(ds.Version()).second) << step;
  };
  ds.Open();
  changed("open");
  ds.MaybeApplyFilter("VOM_SC_FK = 1");
  changed("filter");
  ds.Append();
  changed("append");
  ds.Cancel();
  ds.SetSortFields("VOM_CODE");
  changed("sort");
  ds.Delete();
  changed("delete");
  ds.Close();
  changed("close");
  ds.Open();
  changed("open again");
}

TEST_F(DataSetTest, RowsOutsideTheListAreEmpty) {
  ds.Open();
  EXPECT_EQ(ds.RowAt(3)[1].AsString(), "FRA");  // the last
  EXPECT_TRUE(ds.RowAt(4).empty());
  EXPECT_TRUE(ds.RowAt(-1).empty());
}

TEST_F(DataSetTest, GridRowsAreCalculatedWhenShown) {
  std::string suffix = "a";
  ds.AddField({"VOM_LABEL", FieldType::String, 20}, FieldKind::Calculated);
  ds.OnCalcFields = [&suffix](TQuilClientDataSet& d) {
    d.FieldByName("VOM_LABEL").SetAsString(d.FieldByName("VOM_CODE").AsString() + suffix);
  };
  ds.Open();
  suffix = "b";
  const int label = ds.FieldByName("VOM_LABEL").Index();
  EXPECT_EQ(ds.RowAt(2)[label].AsString(), "engb");
}

TEST_F(DataSetTest, LocateOnTheSortFieldIgnoresCaseInTheOrder) {
  ds.SetSortFields("VOM_CODE");
  ds.Open();
  for (const char* code : {"eng", "FRA", "NED", "WIS"}) {
    SCOPED_TRACE(code);
    EXPECT_TRUE(ds.Locate("VOM_CODE", Variant(code)));
    EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), code);
  }
}

TEST_F(DataSetTest, FilteringOnWithoutATextShowsEverything) {
  ds.Open();
  ds.SetFilter("");
  ds.SetFiltered(true);
  EXPECT_TRUE(ds.Filtered());
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 3:eng 4:FRA");
}

TEST_F(DataSetTest, FilteringOnAgainKeepsTheRecordAndTheFilter) {
  ds.Open();
  ds.SetFilter("VOM_SC_FK = 1");
  ds.SetFiltered(true);
  ds.Last();
  ds.SetFiltered(true);
  EXPECT_EQ(Shown(), "1:WIS 2:NED *4:FRA");
  ds.SetFiltered(false);  // a real change starts from the first record
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 3:eng 4:FRA");
  ds.Last();
  ds.SetFiltered(false);  // off again, the text kept
  EXPECT_EQ(Shown(), "1:WIS 2:NED 3:eng *4:FRA");
  EXPECT_EQ(ds.Filter(), "VOM_SC_FK = 1");
  ds.SetFilter("VOM_SC_FK = 2");  // a new text while off only waits for filtering on
  EXPECT_EQ(Shown(), "1:WIS 2:NED 3:eng *4:FRA");
  ds.SetFiltered(true);
  EXPECT_EQ(Shown(), "*3:eng");
}

TEST_F(DataSetTest, PostMovesTheRecordToItsSortedPlace) {
  ds.SetSortFields("VOM_CODE");
  ds.Open();
  EXPECT_EQ(Shown(), "*3:eng 4:FRA 2:NED 1:WIS");  // sort ignores case
  ds.Last();
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("ABC");
  ds.Post();
  EXPECT_EQ(Shown(), "*1:ABC 3:eng 4:FRA 2:NED");
  ds.MaybeApplyFilter("VOM_SC_FK = 1");
  ds.Last();
  ds.Edit();
  ds.FieldByName("VOM_SC_FK").SetAsInteger(2);  // no longer passes the filter
  ds.Post();
  EXPECT_EQ(Shown(), "1:ABC *4:FRA");
}

TEST_F(DataSetTest, LocateFindsTheFirstMatchInSortOrder) {
  ds.SetSortFields("VOM_CODE");
  ds.Open();
  EXPECT_TRUE(ds.Locate("VOM_CODE", Variant("NED")));
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 2);
  EXPECT_FALSE(ds.Locate("VOM_CODE", Variant("ENG")));  // exact case by default
  EXPECT_TRUE(ds.Locate("VOM_CODE", Variant("ENG"), {.caseInsensitive = true}));
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 3);
  EXPECT_TRUE(ds.Locate("VOM_OMSCHRIJVING", Variant("Ned"), {.partialKey = true}));
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 2);
  EXPECT_TRUE(ds.Locate("VOM_CODE", Variant("FR"), {.partialKey = true}));  // on the sort field
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 4);
  EXPECT_TRUE(ds.Locate("VOM_SC_FK;VOM_FLAGS", {Variant(1), Variant(2)}));
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 4);
  EXPECT_TRUE(ds.LocateID(1));
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "WIS");
  EXPECT_FALSE(ds.LocateID(99));
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "WIS");  // a failed locate does not move
  ds.SetSortFields("VOM_SC_FK;VOM_CODE");  // on the second sort field: FRA NED WIS eng
  EXPECT_TRUE(ds.Locate("VOM_CODE", Variant("eng")));
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 3);
}

TEST_F(DataSetTest, LocatingByKeyFindsARecordThatAPostMovedInTheOrder) {
  ds.SetSortFields("VOM_CODE");
  ds.Open();
  ASSERT_TRUE(ds.LocateID(2));  // builds the key index: eng FRA NED WIS
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("AAA");  // NED moves to the front
  ds.Post();
  for (int id : {2, 3, 4, 1}) {
    ASSERT_TRUE(ds.LocateID(id));
    EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), id);
  }
}

TEST_F(DataSetTest, MovingAwayPostsAChangeAndDropsAnUntouchedInsert) {
  ds.Open();
  ds.Append();
  ds.First();
  EXPECT_EQ(ds.RecordCount(), 4);
  EXPECT_EQ(ds.ChangeCount(), 0);
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("WIB");
  ds.Next();
  EXPECT_EQ(ds.State(), DataSetState::Browse);
  EXPECT_EQ(Stored(), "1:WIB 2:NED 3:eng 4:FRA");
}

TEST_F(DataSetTest, DeletingWhileEditingDropsWhatWasTyped) {
  ds.SetAutoCommit(false);
  ds.Open();
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("WIB");
  ds.Delete();
  EXPECT_EQ(ds.State(), DataSetState::Browse);
  EXPECT_EQ(Shown(), "*2:NED 3:eng 4:FRA");
  EXPECT_EQ(ds.ChangeCount(), 1);
  ds.ApplyUpdates(0);
  EXPECT_EQ(Stored(), "2:NED 3:eng 4:FRA");
}

// Who changed a record and when is written on every post; a dataset without a server writes
// only when. Either field may come first.
TEST_F(DataSetTest, APostWritesWhoChangedItAndWhen) {
  server.userId = 7;
  const TDateTime before = Now();
  struct Case {
    const char* name;
    TDMQuil* connection;
    std::vector<FieldDef> fields;
    const char* who;
  } cases[] = {
      {"who first", &dm, {{"X_DOOR", FieldType::Integer}, {"X_OP", FieldType::DateTime}}, "7"},
      {"when first", &dm, {{"X_OP", FieldType::DateTime}, {"X_DOOR", FieldType::Integer}}, "7"},
      {"no server", nullptr, {{"X_DOOR", FieldType::Integer}, {"X_OP", FieldType::DateTime}}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQuilClientDataSet notes{c.connection, "notes"};
    notes.CreateDataSet(c.fields);
    notes.ChangedByField = "X_DOOR";
    notes.ChangedOnField = "X_OP";
    notes.Append();
    notes.Post();
    EXPECT_EQ(notes.FieldByName("X_DOOR").AsString(), c.who);
    EXPECT_GE(notes.FieldByName("X_OP").AsDateTime().value, before.value);
  }
}

TEST_F(DataSetTest, BitFieldsReadAndWriteTheirBit) {
  TField& second = ds.AddBitField("VOM_TWEEDE", "VOM_FLAGS", 1);
  ds.Open();
  ds.LocateID(3);  // flags 3
  EXPECT_TRUE(second.AsBoolean());
  ds.Edit();
  second.SetAsBoolean(false);
  EXPECT_EQ(ds.FieldByName("VOM_FLAGS").AsInteger(), 1);
  second.SetAsBoolean(true);
  EXPECT_EQ(ds.FieldByName("VOM_FLAGS").AsInteger(), 3);
  ds.Cancel();
  ds.LocateID(1);  // flags 0
  EXPECT_FALSE(second.AsBoolean());
  ds.MaybeApplyFilter("VOM_TWEEDE = TRUE");
  EXPECT_EQ(Shown(), "*3:eng 4:FRA");
}

TEST_F(DataSetTest, CalculatedAndLookupFields) {
  TQuilClientDataSet schools{&dm, "schools"};
  server.AddProvider(
      "DSPSchools", {{"SC_ID", FieldType::Integer}, {"SC_NAAM", FieldType::String, 50}}, "SC_ID",
      {{Variant(1), Variant("Centrum Noord")}, {Variant(2), Variant("Centrum Zuid")}});
  schools.SetProvName("DSPSchools");
  schools.Open();
  ds.AddField({"VOM_LABEL", FieldType::String, 200}, FieldKind::Calculated);
  ds.AddLookupField("SC_NAAM", FieldType::String, "VOM_SC_FK", schools, "SC_ID", "SC_NAAM");
  int calcRuns = 0;
  ds.OnCalcFields = [&calcRuns](TQuilClientDataSet& d) {
    ++calcRuns;
    d.FieldByName("VOM_LABEL")
        .SetAsString(d.FieldByName("VOM_CODE").AsString() + " - " +
                     d.FieldByName("VOM_OMSCHRIJVING").AsString());
  };
  ds.Open();
  EXPECT_EQ(ds.FieldByName("VOM_LABEL").AsString(), "WIS - Wiskunde");
  EXPECT_EQ(ds.FieldByName("SC_NAAM").AsString(), "Centrum Noord");
  ds.Edit();
  int before = calcRuns;
  ds.FieldByName("VOM_CODE").SetAsString("WI");
  EXPECT_GT(calcRuns, before);  // recalculated after a field change
  EXPECT_EQ(ds.FieldByName("VOM_LABEL").AsString(), "WI - Wiskunde");
  ds.FieldByName("VOM_SC_FK").SetAsInteger(2);
  EXPECT_EQ(ds.FieldByName("SC_NAAM").AsString(), "Centrum Zuid");
  EXPECT_THROW(ds.FieldByName("SC_NAAM").SetAsString("x"), EClientError);
  ds.Post();
  ds.MaybeApplyFilter("SC_NAAM LIKE '%zuid%'");
  EXPECT_EQ(Shown(), "*1:WI 3:eng");

  // Narrowing the schools offered changes what can be chosen, not what a stored key means.
  schools.MaybeApplyFilter("SC_NAAM LIKE '%noord%'");
  EXPECT_EQ(ds.FieldByName("SC_NAAM").AsString(), "Centrum Zuid");
  EXPECT_EQ(schools.Lookup("SC_NAAM", Variant("Centrum Zuid"), "SC_ID").AsInteger(), 2);
  EXPECT_FALSE(schools.Offers("SC_ID", Variant(2)));
  EXPECT_TRUE(schools.Offers("SC_ID", Variant(1)));
  EXPECT_TRUE(schools.Lookup("SC_ID", Variant(9), "SC_NAAM").IsNull());
}

TEST_F(DataSetTest, BulkChangeGathersAppliesIntoOne) {
  ds.Open();
  int listenerCalls = 0;
  TDataSource source(&ds);
  source.AddListener([&listenerCalls](DataEvent, TField*) { ++listenerCalls; });
  int appliesBefore = server.applyCalls;
  {
    BulkChangeGuard bulk(ds);
    while (!ds.Eof()) {
      ds.Edit();
      ds.FieldByName("VOM_FLAGS").SetAsInteger(7);
      ds.Post();
      ds.Next();
    }
    EXPECT_EQ(server.applyCalls, appliesBefore);
    EXPECT_EQ(listenerCalls, 0);
  }
  EXPECT_EQ(server.applyCalls, appliesBefore + 1);
  EXPECT_EQ(listenerCalls, 1);
  EXPECT_EQ(ds.ChangeCount(), 0);
  for (const Row& row : server.Provider("DSPModules").rows) EXPECT_EQ(row[3].AsInteger(), 7);
}

TEST_F(DataSetTest, DisableControlsNestsAndAnnouncesOnce) {
  ds.Open();
  int calls = 0;
  TDataSource source(&ds);
  source.AddListener([&calls](DataEvent, TField*) { ++calls; });
  ds.DisableControls();
  ds.DisableControls();
  ds.Next();
  ds.Next();
  ds.EnableControls();
  EXPECT_EQ(calls, 0);
  ds.EnableControls();
  EXPECT_EQ(calls, 1);
  ds.Next();
  EXPECT_EQ(calls, 2);
  ds.DisableControls();  // nothing changes meanwhile: nothing to announce
  ds.EnableControls();
  EXPECT_EQ(calls, 2);
}

TEST_F(DataSetTest, DetailReopensWhenTheMasterMoves) {
  server.AddProvider("DSPSchools", {{"SC_ID", FieldType::Integer}, {"IS_ID", FieldType::Integer}},
                     "SC_ID", {{Variant(1), Variant(10)}, {Variant(2), Variant(10)}});
  TQuilClientDataSet schools{&dm, "schools"};
  schools.SetProvName("DSPSchools");
  TDataSource schoolSource(&schools);
  ds.GetParams().Add("VOM_SC_FK", FieldType::Integer);
  ds.MasterFields = {{"VOM_SC_FK", "SC_ID"}};
  ds.SetMasterdataSource(&schoolSource);
  schools.Open();
  ds.Open();
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 4:FRA");
  int fetches = server.getRecordsCalls;
  schools.Next();
  EXPECT_EQ(Shown(), "*3:eng");
  EXPECT_EQ(server.getRecordsCalls, fetches + 1);
  TDataSource detailSource(&ds);
  EXPECT_EQ(FindDataSourceWithField(&detailSource, "IS_ID"), &schoolSource);
  EXPECT_EQ(FindDataSourceWithField(&detailSource, "VOM_CODE"), &detailSource);
  EXPECT_EQ(FindDataSourceWithField(&detailSource, "VWK_ID"), nullptr);
}

TEST_F(DataSetTest, FilterErrorsLeaveTheFilterInForce) {
  ds.Open();
  ds.MaybeApplyFilter("VOM_SC_FK = 1");
  EXPECT_THROW(ds.MaybeApplyFilter("VOM_SC_FK = = 1"), EClientError);
  EXPECT_THROW(ds.MaybeApplyFilter("ONBEKEND = 1"), EClientError);
  EXPECT_EQ(ds.Filter(), "VOM_SC_FK = 1");
  EXPECT_EQ(ds.RecordCount(), 3);
  ds.MaybeApplyFilter("  ");
  EXPECT_FALSE(ds.Filtered());
  EXPECT_EQ(ds.RecordCount(), 4);
}

TEST_F(DataSetTest, SelectionSaveRestoreAndCopies) {
  std::vector<FieldDef> fields = {{"J_ID", FieldType::Integer},
                                  {"SELECTED", FieldType::String, 1},
                                  {"J_TEXT1", FieldType::String, 50}};
  TQuilClientDataSet rows{&dm, "rows"};
  rows.IDField = "J_ID";
  rows.CreateDataSet(fields);
  for (int i = 1; i <= 3; ++i) {
    rows.Append();
    rows.FieldByName("J_ID").SetAsInteger(i * 10);
    rows.FieldByName("SELECTED").SetAsString("-");
    rows.FieldByName("J_TEXT1").SetAsString("regel " + std::to_string(i));
    rows.Post();
  }
  TDataSource source(&rows);
  rows.LocateID(20);
  SetSelectedField(source, "SELECTED", true);
  EXPECT_EQ(rows.GetCheckedCount(), 3);
  EXPECT_EQ(rows.FieldByName("J_ID").AsInteger(), 20);  // back on the same record
  rows.Edit();
  rows.FieldByName("SELECTED").SetAsString("-");
  rows.Post();
  TIDList ids;
  rows.GetChecked(ids);
  EXPECT_EQ(ids.GetAsString(), "10,30");
  // The tick may be the first field; without a tick field nothing is checked; without a key no
  // id can be given.
  TQuilClientDataSet ticks{&dm, "ticks"};
  ticks.IDField = "T_ID";
  ticks.CreateDataSet({{"SELECTED", FieldType::String, 1}, {"T_ID", FieldType::Integer}});
  ticks.Append();
  ticks.FieldByName("SELECTED").SetAsString("+");
  ticks.FieldByName("T_ID").SetAsInteger(5);
  ticks.Post();
  EXPECT_EQ(ticks.GetCheckedCount(), 1);
  TIDList first;
  ticks.GetChecked(first);
  EXPECT_EQ(first.GetAsString(), "5");
  ds.Open();
  EXPECT_EQ(ds.GetCheckedCount(), 0);
  TIDList none;
  ds.GetChecked(none);
  rows.IDField.clear();
  rows.GetChecked(none);
  EXPECT_EQ(none.GetAsString(), "");
  rows.IDField = "J_ID";

  // A copy takes what the new record may hold: not the key, not a read-only field, not a field
  // it does not have.
  FieldValues saved = rows.SaveFields();
  saved.emplace_back("J_ELDERS", Variant(7));
  rows.FieldByName("SELECTED").ReadOnly = true;
  rows.Append();
  rows.RestoreFields(saved);
  EXPECT_TRUE(rows.FieldByName("J_ID").IsNull());
  EXPECT_TRUE(rows.FieldByName("SELECTED").IsNull());
  EXPECT_EQ(rows.FieldByName("J_TEXT1").AsString(), "regel 2");
  rows.Cancel();
  rows.FieldByName("SELECTED").ReadOnly = false;

  TQuilClientDataSet copy{&dm, "copy"};
  rows.MaybeApplyFilter("SELECTED = '+'");
  CopyDataToDataset(rows, copy);
  EXPECT_EQ(copy.RecordCount(), 3);  // every record, not only the filtered ones
  EXPECT_EQ(copy.ChangeCount(), 0);
}

TEST_F(DataSetTest, RefusedOperationsSayWhatAndWhere) {
  TQuilClientDataSet schools{&dm, "schools"};
  server.AddProvider("DSPSchools", {{"SC_ID", FieldType::Integer}}, "SC_ID", {{Variant(1)}});
  schools.SetProvName("DSPSchools");
  ds.AddLookupField("SC_NAAM", FieldType::String, "VOM_SC_FK", schools, "SC_ID", "SC_ID");
  ds.AddBitField("VOM_ZONDER", "GEEN_VELD", 0);
  TQuilClientDataSet loose{nullptr, "CDSLos"};
  struct Case {
    const char* message;
    std::function<void()> act;
  };
  const Case closed[] = {
      {"Navigeren niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.First(); }},
      {"Navigeren niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.Last(); }},
      {"Navigeren niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.MoveBy(1); }},
      {"Navigeren niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.SetRecNo(1); }},
      {"Toevoegen niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.Append(); }},
      {"Wijzigen niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.Edit(); }},
      {"Verwijderen niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.Delete(); }},
      {"Zoeken niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.LocateID(1); }},
      {"Verversen niet mogelijk: dataset 'CDSModules' is gesloten", [this] { ds.Refresh(); }},
      {"Dataset 'CDSLos' heeft geen provider", [&loose] { loose.Open(); }},
      {"Dataset 'CDSLos' heeft geen verbinding met de server",
       [&loose] {
         loose.SetProvName("DSPModules");
         loose.Open();
       }},
  };
  const Case open[] = {
      {"De provider kan niet gewijzigd worden terwijl de dataset open is",
       [this] { ds.SetProvName("DSPSchools"); }},
      {"Veld 'VOM_CODE' bestaat al", [this] { ds.AddField({"VOM_CODE"}, FieldKind::Calculated); }},
      {"Veld 'VOM_NIEUW' kan niet toegevoegd worden aan een open dataset",
       [this] { ds.AddField({"VOM_NIEUW"}, FieldKind::Data); }},
      {"Zoeken op '': aantal waarden klopt niet",
       [this] { ds.Locate("", std::vector<Variant>{}); }},
      {"Zoeken op 'VOM_CODE;VOM_ID': aantal waarden klopt niet",
       [this] { ds.Locate("VOM_CODE;VOM_ID", {Variant("WIS")}); }},
      {"Op veld 'SC_NAAM' kan niet gezocht worden", [this] { ds.Locate("SC_NAAM", Variant(1)); }},
      {"Dataset 'CDSModules' heeft geen sleutelveld",
       [this] {
         ds.IDField.clear();
         ds.LocateID(1);
       }},
      {"Veld 'SC_NAAM' kan niet gewijzigd worden",
       [this] {
         ds.Edit();
         ds.FieldByName("SC_NAAM").SetAsInteger(1);
       }},
      {"Veld 'GEEN_VELD' niet gevonden",
       [this] {
         ds.Edit();
         ds.FieldByName("VOM_ZONDER").SetAsBoolean(true);
       }},
      {"Veld 'VOM_ID' kan niet gewijzigd worden",
       [this] {
         ds.FieldByName("VOM_ID").ReadOnly = true;
         ds.Edit();
         ds.FieldByName("VOM_ID").SetAsInteger(9);
       }},
      {"Dataset 'CDSModules' kan niet gewijzigd worden",
       [this] {
         ds.ReadOnly = true;
         ds.Edit();
       }},
      {"Dataset 'CDSModules' kan niet gewijzigd worden",
       [this] {
         ds.ReadOnly = true;
         ds.Delete();
       }},
      {"Er is geen record om te verwijderen",
       [this] {
         ds.MaybeApplyFilter("VOM_ID = 99");
         ds.Delete();
       }},
  };
  auto expect = [](const Case& c) {
    SCOPED_TRACE(c.message);
    try {
      c.act();
      ADD_FAILURE() << "not refused";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  };
  for (const Case& c : closed) expect(c);
  for (const Case& c : open) {
    ds.Close();
    ds.ReadOnly = false;
    ds.IDField = "VOM_ID";
    ds.MaybeApplyFilter("");
    ds.Open();
    expect(c);
    ds.Cancel();
    ds.FieldByName("VOM_ID").ReadOnly = false;
  }
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA");
}

TEST_F(DataSetTest, MovingStopsAtTheEdgesAndSaysHowFarItWent) {
  ds.Open();
  struct Step {
    const char* name;
    std::function<int()> move;  // returns the distance moved where the operation tells
    int moved;
    const char* at;  // "id bof eof"
  } steps[] = {
      {"open", [] { return 0; }, 0, "1 1 0"},
      {"no distance", [this] { return ds.MoveBy(0); }, 0, "1 1 0"},
      {"back at the start", [this] { return ds.MoveBy(-1); }, 0, "1 1 0"},
      {"two on", [this] { return ds.MoveBy(2); }, 2, "3 0 0"},
      {"back onto the first", [this] { return ds.MoveBy(-2); }, -2, "1 0 0"},
      {"and before it", [this] { return ds.MoveBy(-1); }, 0, "1 1 0"},
      {"two on again", [this] { return ds.MoveBy(2); }, 2, "3 0 0"},
      {"past the end", [this] { return ds.MoveBy(10); }, 1, "4 0 1"},
      {"on at the end", [this] { return ds.MoveBy(1); }, 0, "4 0 1"},
      {"past the start", [this] { return ds.MoveBy(-10); }, -3, "1 1 0"},
      {"record number",
       [this] {
         ds.SetRecNo(3);
         return ds.RecNo();
       },
       3, "3 0 0"},
      {"record number beyond",
       [this] {
         ds.SetRecNo(9);
         return ds.RecNo();
       },
       4, "4 0 0"},
      {"last",
       [this] {
         ds.Last();
         return ds.RecNo();
       },
       4, "4 0 1"},
      {"prior",
       [this] {
         ds.Prior();
         return ds.RecNo();
       },
       3, "3 0 0"},
      {"first",
       [this] {
         ds.First();
         return ds.RecNo();
       },
       1, "1 1 0"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(step.move(), step.moved);
    EXPECT_EQ(Format("%s %d %d", ds.FieldByName("VOM_ID").AsString(), int{ds.Bof()}, int{ds.Eof()}),
              step.at);
  }
}

TEST_F(DataSetTest, RevertRecordAndStatusPerRecord) {
  ds.SetAutoCommit(false);
  ds.Open();
  EXPECT_EQ(ds.UpdateStatus(), RecordStatus::Unmodified);
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("W");
  EXPECT_TRUE(ds.Modified());
  ds.Post();
  EXPECT_FALSE(ds.Modified());
  EXPECT_EQ(ds.UpdateStatus(), RecordStatus::Modified);
  ds.Append();
  EXPECT_EQ(ds.UpdateStatus(), RecordStatus::Inserted);
  ds.FieldByName("VOM_CODE").SetAsString("NW");
  EXPECT_TRUE(ds.FieldByName("VOM_CODE").OldValue().IsNull());
  ds.Post();
  EXPECT_EQ(ds.ChangeCount(), 2);
  ds.RevertRecord();  // the insert disappears; the first record becomes current
  EXPECT_EQ(ds.ChangeCount(), 1);
  EXPECT_EQ(Shown(), "*1:W 2:NED 3:eng 4:FRA");
  ds.Edit();
  ds.FieldByName("VOM_CODE").SetAsString("WI");
  ds.RevertRecord();  // the change is undone, with what was being typed
  EXPECT_EQ(ds.State(), DataSetState::Browse);
  EXPECT_EQ(ds.ChangeCount(), 0);
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "WIS");
  EXPECT_EQ(ds.UpdateStatus(), RecordStatus::Unmodified);
  ds.RevertRecord();  // nothing to undo
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 3:eng 4:FRA");
}

}  // namespace
}  // namespace quil::testing
