// The selection manager between a list of modules (available) and the modules an institution
// organises (chosen): what it copies, what it refuses, and that a failure leaves nothing behind.
#include "host/domain/RecSelectionManager.h"

#include <gtest/gtest.h>

#include <string>

#include "host/base/Errors.h"
#include "host/data/DMQuil.h"
#include "host/data/MemoryAppServer.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"

namespace quil {
namespace {

class RecSelectionManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.AddProvider("DSPModules",
                       {{"VOM_ID", FieldType::Integer, 0, 0, true},
                        {"VOM_CODE", FieldType::String, 8},
                        {"VOM_OMSCHRIJVING", FieldType::String, 150}},
                       "VOM_ID",
                       {{Variant(1), Variant("NT2R1"), Variant("Nederlands 1")},
                        {Variant(2), Variant("ENGA1"), Variant("Engels")},
                        {Variant(3), Variant("ICTBAS"), Variant("Digitaal")}});
    server.AddProvider("DSPIngerichte",
                       {{"VIM_ID", FieldType::Integer, 0, 0, true},
                        {"VIM_VWOMODULE_FK", FieldType::Integer, 0, 0, true},
                        {"VOM_CODE", FieldType::String, 8, 0, false, true}},
                       "VIM_ID", {{Variant(10), Variant(2), Variant("ENGA1")}});
    modules.SetProvName("DSPModules");
    chosen.SetProvName("DSPIngerichte");
    chosen.IDField = "VIM_ID";
    modules.Open();
    chosen.Open();
    manager.SetFieldMap("VOM_ID=VIM_VWOMODULE_FK;VOM_CODE");
    manager.SetUniqueField("VOM_ID");
  }

  //! "module:code" of every stored organised module.
  std::string Stored() {
    std::string out;
    for (const Row& row : server.Provider("DSPIngerichte").rows) {
      out += (out.empty() ? "" : " ") + row[1].AsString() + ":" + row[2].AsString();
    }
    return out;
  }

  MemoryAppServer server;
  TDMQuil dm{server};
  TQuilClientDataSet modules{&dm, "CDSModules"};
  TQuilClientDataSet chosen{&dm, "CDSIngerichte"};
  TRecSelectionManager manager{modules, chosen};
};

TEST_F(RecSelectionManagerTest, ChoosingCopiesTheMappedFieldsJoinedOnesIncludedAndStoresTheRecord) {
  modules.LocateID(3, "VOM_ID");
  ASSERT_TRUE(manager.SelectCurrent());
  EXPECT_EQ(chosen.FieldByName("VIM_VWOMODULE_FK").AsInteger(), 3);
  EXPECT_EQ(chosen.FieldByName("VOM_CODE").AsString(), "ICTBAS");
  EXPECT_TRUE(chosen.FieldByName("VOM_CODE").ReadOnly) << "the joined field stays read-only";
  EXPECT_EQ(chosen.State(), DataSetState::Browse);
  EXPECT_EQ(chosen.ChangeCount(), 0);
  EXPECT_EQ(modules.FieldByName("VOM_ID").AsInteger(), 3) << "the source stays where it was";
  // The server keeps the key and the module; the joined code is no column of its own.
  EXPECT_EQ(server.Provider("DSPIngerichte").rows.size(), 2u);
  EXPECT_EQ(server.Provider("DSPIngerichte").rows.back()[1].AsInteger(), 3);
}

TEST_F(RecSelectionManagerTest, ARecordAlreadyChosenIsNotChosenAgain) {
  modules.LocateID(2, "VOM_ID");
  EXPECT_TRUE(manager.CurrentIsChosen());
  EXPECT_FALSE(manager.GetAllowSelectCurrent());
  EXPECT_FALSE(manager.SelectCurrent());
  modules.LocateID(1, "VOM_ID");
  EXPECT_TRUE(manager.SelectCurrent());
  EXPECT_FALSE(manager.GetAllowSelectCurrent()) << "chosen a moment ago";
  EXPECT_EQ(chosen.RecordCount(), 2);
}

TEST_F(RecSelectionManagerTest, APostTheTargetRefusesLeavesNoNewRecordBehind) {
  chosen.BeforePost = [](TQuilClientDataSet&) { throw EClientError("Niet toegestaan"); };
  modules.LocateID(1, "VOM_ID");
  EXPECT_THROW(manager.SelectCurrent(), EClientError);
  EXPECT_EQ(chosen.State(), DataSetState::Browse);
  EXPECT_EQ(chosen.RecordCount(), 1);
  EXPECT_EQ(chosen.ChangeCount(), 0);
  EXPECT_EQ(Stored(), "2:ENGA1");
}

TEST_F(RecSelectionManagerTest, ChoosingAllTakesWhatIsNotChosenYetInOneApply) {
  modules.LocateID(2, "VOM_ID");
  const int appliesBefore = server.applyCalls;
  EXPECT_EQ(manager.SelectAll(), 2);
  EXPECT_EQ(server.applyCalls, appliesBefore + 1);
  EXPECT_EQ(chosen.RecordCount(), 3);
  EXPECT_EQ(modules.FieldByName("VOM_ID").AsInteger(), 2);
  EXPECT_FALSE(modules.ControlsDisabled());
}

TEST_F(RecSelectionManagerTest, ChoosingAllStoresNothingWhenOneRecordIsRefused) {
  chosen.BeforePost = [](TQuilClientDataSet& ds) {
    if (ds.FieldByName("VIM_VWOMODULE_FK").AsInteger() == 3) throw EClientError("Niet 3");
  };
  EXPECT_THROW(manager.SelectAll(), EClientError);
  EXPECT_EQ(Stored(), "2:ENGA1");
  EXPECT_EQ(chosen.RecordCount(), 1);
  EXPECT_EQ(chosen.ChangeCount(), 0);
  EXPECT_FALSE(chosen.GetBulkChange());
}

TEST_F(RecSelectionManagerTest, RemovingAllSkipsWhatTheScreenKeeps) {
  modules.First();
  manager.SelectAll();
  // The screen keeps the module with id 1.
  manager.OnAllowUnSelect = [this] {
    return chosen.FieldByName("VIM_VWOMODULE_FK").AsInteger() != 1;
  };
  EXPECT_EQ(manager.UnSelectAll(), 2);
  EXPECT_EQ(Stored(), "1:NT2R1");
  chosen.First();
  EXPECT_FALSE(manager.GetAllowUnSelectCurrent());
  EXPECT_FALSE(manager.UnSelectCurrent());
  EXPECT_EQ(chosen.RecordCount(), 1);
}

TEST_F(RecSelectionManagerTest, NothingIsAllowedWhileTheTargetIsClosedBeingEditedOrReadOnly) {
  struct Case {
    const char* what;
    void (*apply)(TQuilClientDataSet&);
  };
  const Case cases[] = {
      {"closed", [](TQuilClientDataSet& ds) { ds.Close(); }},
      {"in edit", [](TQuilClientDataSet& ds) { ds.Edit(); }},
      {"read-only", [](TQuilClientDataSet& ds) { ds.ReadOnly = true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    chosen.ReadOnly = false;
    if (!chosen.Active()) chosen.Open();
    if (chosen.State() != DataSetState::Browse) chosen.Cancel();
    modules.LocateID(1, "VOM_ID");
    ASSERT_TRUE(manager.GetAllowSelectCurrent());
    c.apply(chosen);
    EXPECT_FALSE(manager.GetAllowSelectCurrent());
    EXPECT_FALSE(manager.GetAllowSelectAll());
    EXPECT_FALSE(manager.GetAllowUnSelectCurrent());
    EXPECT_FALSE(manager.GetAllowUnSelectAll());
  }
}

TEST_F(RecSelectionManagerTest, TheUsersRightsOnTheScreenDecideAddingAndRemoving) {
  ScriptedDialogs dialogs;
  TQuilApplication app{dm, dialogs};
  TQuilDBForm form(app, "TTestForm");
  TRecSelectionManager ofForm(modules, chosen, &form);
  ofForm.SetFieldMap("VOM_ID=VIM_VWOMODULE_FK");
  struct Case {
    int rights;
    bool add;
    bool remove;
  };
  const Case cases[] = {{0xF, true, true},
                        {0x1, false, false},
                        {0x5, true, false},
                        {0x9, false, true},
                        {0x3, false, false}};
  modules.LocateID(1, "VOM_ID");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rights);
    form.SetRights(c.rights);
    EXPECT_EQ(ofForm.GetAllowSelectCurrent(), c.add);
    EXPECT_EQ(ofForm.GetAllowSelectAll(), c.add);
    EXPECT_EQ(ofForm.GetAllowUnSelectCurrent(), c.remove);
    EXPECT_EQ(ofForm.GetAllowUnSelectAll(), c.remove);
  }
  form.SetRights(0x1);
  EXPECT_FALSE(ofForm.SelectCurrent());
  EXPECT_EQ(ofForm.SelectAll(), 0);
  EXPECT_EQ(chosen.RecordCount(), 1);
}

}  // namespace
}  // namespace quil
