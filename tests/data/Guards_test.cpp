// Scopes that set and restore a dataset's state restore it on every path, also when the body
// throws; the calculated-fields state never outlives the calculation.
#include <gtest/gtest.h>

#include <functional>

#include "DataSetFixture.h"
#include "host/base/Errors.h"
#include "host/data/Guards.h"

namespace quil::testing {
namespace {

// What the scopes touch: controls, filter, current record, and the state of the dataset.
std::string StateOf(TQuilClientDataSet& ds) {
  return Format("controls %s, filter '%s' %s, id %s, state %d",
                ds.ControlsDisabled() ? "off" : "on", ds.Filter(), ds.Filtered() ? "on" : "off",
                ds.FieldByName("VOM_ID").AsString(), static_cast<int>(ds.State()));
}

TEST_F(DataSetTest, EveryGuardRestoresWhenItsBodyThrows) {
  struct Case {
    const char* name;
    std::function<void(TQuilClientDataSet&)> body;  // sets up a guard, changes state, throws
    int current;                                    // a restored filter goes to the first record
  };
  const Case cases[] = {
      {"disabled controls",
       [](TQuilClientDataSet& d) {
         DisableControlsGuard controls(d);
         DisableControlsGuard nested(d);
         RaiseClientError("mislukt");
       },
       2},
      {"filter",
       [](TQuilClientDataSet& d) {
         FilterGuard filter(d);
         d.MaybeApplyFilter("VOM_SC_FK = 2");
         RaiseClientError("mislukt");
       },
       1},
      {"filter switched off",
       [](TQuilClientDataSet& d) {
         FilterGuard filter(d);
         d.SetFiltered(false);
         d.SetFilter("VOM_ID = 1");
         RaiseClientError("mislukt");
       },
       1},
      {"bookmark",
       [](TQuilClientDataSet& d) {
         BookmarkGuard bookmark(d);
         d.Last();
         RaiseClientError("mislukt");
       },
       2},
      {"all three, in the order screens write them",
       [](TQuilClientDataSet& d) {
         DisableControlsGuard controls(d);
         BookmarkGuard bookmark(d);
         FilterGuard filter(d);
         d.MaybeApplyFilter("VOM_ID = 4");
         d.Edit();
         d.FieldByName("VOM_CODE").SetAsString("X");
         Abort();  // the edit left open is dropped, not posted
       },
       2},
  };
  ds.Open();
  ds.MaybeApplyFilter("VOM_SC_FK = 1");
  const std::string filter = "filter 'VOM_SC_FK = 1' on";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ds.LocateID(2);
    int heard = 0;
    TDataSource source(&ds);
    source.AddListener([&heard](DataEvent, TField*) { ++heard; });
    EXPECT_ANY_THROW(c.body(ds));
    EXPECT_EQ(StateOf(ds), Format("controls on, %s, id %d, state %d", filter, c.current,
                                  static_cast<int>(DataSetState::Browse)));
    EXPECT_EQ(ds.ChangeCount(), 0);
    EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA");
    if (std::string_view(c.name) == "disabled controls") {
      // Held-back notifications are not lost: the last enable announces nothing changed since
      // nothing did, and the next move is heard at once.
      ds.Next();
      EXPECT_GT(heard, 0);
      ds.Prior();
    }
  }
}

TEST_F(DataSetTest, ANormalEndOfAGuardPostsTheEditLikeAnyMove) {
  ds.Open();
  {
    BookmarkGuard bookmark(ds);
    FilterGuard filter(ds);
    ds.MaybeApplyFilter("VOM_ID = 4");
    ds.Edit();
    ds.FieldByName("VOM_CODE").SetAsString("FR");
  }
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FR");
  EXPECT_EQ(Shown(), "*1:WIS 2:NED 3:eng 4:FR");
  // A guard on an empty view has no record to return to.
  ds.MaybeApplyFilter("VOM_ID = 99");
  {
    BookmarkGuard bookmark(ds);
    ds.MaybeApplyFilter("");
    ds.Last();
  }
  EXPECT_EQ(ds.FieldByName("VOM_ID").AsInteger(), 4);
}

TEST_F(DataSetTest, AFailingCalculationLeavesTheCalcState) {
  TQuilClientDataSet schools{&dm, "schools"};
  server.AddProvider("DSPSchools", {{"SC_ID", FieldType::Integer}}, "SC_ID",
                     {{Variant(1)}, {Variant(2)}});
  schools.SetProvName("DSPSchools");
  schools.AddField({"SC_LABEL", FieldType::String, 20}, FieldKind::Calculated);
  bool fail = false;
  schools.OnCalcFields = [&fail](TQuilClientDataSet& d) {
    if (fail) RaiseClientError("berekening mislukt");
    d.FieldByName("SC_LABEL").SetAsString("school " + d.FieldByName("SC_ID").AsString());
  };
  schools.Open();
  ds.AddLookupField("SC_LABEL", FieldType::String, "VOM_SC_FK", schools, "SC_ID", "SC_LABEL");
  ds.AddLookupField("SC_FOUT", FieldType::String, "VOM_SC_FK", schools, "SC_ID", "GEEN_VELD");
  ds.AddField({"VOM_LABEL", FieldType::String, 20}, FieldKind::Calculated);
  ds.OnCalcFields = [&fail](TQuilClientDataSet& d) {
    if (fail) RaiseClientError("berekening mislukt");
    d.FieldByName("VOM_LABEL").SetAsString(d.FieldByName("VOM_CODE").AsString());
  };
  ds.Open();
  fail = true;
  struct Case {
    const char* name;
    std::function<void()> act;
  } cases[] = {
      {"a row for a grid", [this] { ds.RowAt(1); }},
      {"moving", [this] { ds.Next(); }},
      {"recalculating the list looked in", [&schools] { schools.Next(); }},
      {"a field change",
       [this] {
         ds.Edit();
         ds.FieldByName("VOM_OMSCHRIJVING").SetAsString("Anders");
       }},
      {"a filter on a lookup that fails", [this] { ds.MaybeApplyFilter("SC_FOUT = 'x'"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(c.act(), EClientError);
    if (ds.State() == DataSetState::Edit) {
      EXPECT_THROW(ds.Cancel(), EClientError);  // the recalculation after it fails too
    }
    EXPECT_EQ(ds.State(), DataSetState::Browse);
    EXPECT_EQ(schools.State(), DataSetState::Browse);
    // Outside edit a write is refused, not silently stored unlogged.
    try {
      ds.FieldByName("VOM_CODE").SetAsString("STIL");
      ADD_FAILURE() << "write in browse accepted";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), "Dataset 'CDSModules' is niet in bewerk- of invoegmodus");
    }
  }
  fail = false;
  ds.MaybeApplyFilter("");
  ds.First();
  EXPECT_EQ(ds.RecordCount(), 4);
  EXPECT_EQ(ds.FieldByName("VOM_LABEL").AsString(), "WIS");
  EXPECT_EQ(ds.ChangeCount(), 0);
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA");
  EXPECT_EQ(ds.FieldByName("SC_LABEL").AsString(), "school 1");
}

TEST_F(DataSetTest, ACalculationMayWriteOnlyCalculatedFields) {
  ds.AddField({"VOM_LABEL", FieldType::String, 20}, FieldKind::Calculated);
  ds.AddBitField("VOM_EERSTE", "VOM_FLAGS", 0);
  std::string field = "VOM_CODE";
  ds.OnCalcFields = [&field](TQuilClientDataSet& d) { d.FieldByName(field).SetAsString("1"); };
  for (const char* name : {"VOM_CODE", "VOM_EERSTE"}) {
    SCOPED_TRACE(name);
    field = name;
    try {
      ds.Open();
      ADD_FAILURE() << "a calculation wrote a data field";
    } catch (const EClientError& e) {
      EXPECT_EQ(e.what(),
                Format("Veld '%s' kan niet gewijzigd worden tijdens het berekenen", name));
    }
    ds.Close();
  }
  field = "VOM_LABEL";
  ds.Open();
  EXPECT_EQ(ds.FieldByName("VOM_LABEL").AsString(), "1");
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:eng 4:FRA");
  EXPECT_EQ(ds.FieldByName("VOM_CODE").AsString(), "WIS");
}

}  // namespace
}  // namespace quil::testing
