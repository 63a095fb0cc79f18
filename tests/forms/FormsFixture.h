// A session on an in-memory server with scripted dialogs, and a small screen of modules to drive
// through the event boundary.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/data/DMQuil.h"
#include "host/data/MemoryAppServer.h"
#include "host/forms/DBControls.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"

namespace quil::testing {

inline std::vector<FieldDef> ModuleFields() {
  return {{"VOM_ID", FieldType::Integer, 0, 0, true},
          {"VOM_CODE", FieldType::String, 8, 0, true},
          {"VOM_OMSCHRIJVING", FieldType::String, 150},
          {"VOM_IS_FK", FieldType::Integer}};
}

inline std::vector<FieldDef> InstellingFields() {
  return {
      {"IS_ID", FieldType::Integer, 0, 0, true}, {"SC_ID", FieldType::Integer},
      {"IS_CODE", FieldType::String, 10},        {"IS_NAAMGEBRUIKER", FieldType::String, 60},
      {"IS_FLAGS", FieldType::Integer},          {"SC_INSTELLINGSNUMMER", FieldType::String, 10},
      {"SC_NAAM", FieldType::String, 60}};
}

//! Two institutions; modules of institution 1 (ids 1, 2) and 2 (id 3).
inline void AddFixtureProviders(MemoryAppServer& server) {
  server.AddProvider("DSPBrowseOSPInstellingen", InstellingFields(), "IS_ID",
                     {{Variant(1), Variant(11), Variant("CVO1"), Variant("CVO De Linde"),
                       Variant(0), Variant("100123"), Variant("De Linde")},
                      {Variant(2), Variant(12), Variant("CVO2"), Variant("CVO 't Veld"), Variant(1),
                       Variant("100456"), Variant("Het Veld")}});
  server.AddProvider("DSPModules", ModuleFields(), "VOM_ID",
                     {{Variant(1), Variant("WIS"), Variant("Wiskunde"), Variant(1)},
                      {Variant(2), Variant("NED"), Variant("Nederlands"), Variant(1)},
                      {Variant(3), Variant("ENG"), Variant("Engels"), Variant(2)}});
  server.Provider("DSPModules").paramNames = {"VOM_IS_FK"};
}

//! A list of modules with an edit field and actions for every way a handler can end.
class TModulesTestForm : public TQuilDBForm {
 public:
  explicit TModulesTestForm(TQuilApplication& app, std::string className = "TModulesTestForm")
      : TQuilDBForm(app, std::move(className)),
        CDSModules(AddDataSet("CDSModules", "DSPModules")),
        DSModules(AddDataSource("DSModules", &CDSModules)),
        EdtCode(Add<TDBEdit>("EdtCode", &Add<TPanel>("PnlRecord"))),
        BtnGuarded(Add<TButton>("BtnGuarded")) {
    MainDataSource = "DSModules";
    CDSModules.IDField = "VOM_ID";
    CDSModules.AutoOpen = true;
    CDSModules.BeforePost = [](TQuilClientDataSet& ds) {
      if (ds.FieldByName("VOM_CODE").AsString() == "WIS" && ds.State() == DataSetState::Insert) {
        RaiseClientError("Module 'WIS' bestaat al");
      }
    };
    EdtCode.DataSource = &DSModules;
    EdtCode.DataField = "VOM_CODE";
    AGuarded = &AddAction(
        "AGuarded", "Bewaakt", [this] { ++guardedRuns; },
        [this] { AGuarded->Enabled = guardedAllowed; });
    BtnGuarded.Action = AGuarded;
  }

  void QuilDBFormSetMasterBrowser(TDataSource* master) override {
    if (master != nullptr) LinkToMaster(CDSModules);
  }
  void QuilDBFormSaveSettings(TSettingsFile& settings) override {
    settings.WriteString("Lijst", "Sortering", sortOrder);
  }
  void QuilDBFormRestoreSettings(TSettingsFile& settings) override {
    sortOrder = settings.ReadString("Lijst", "Sortering", "VOM_CODE");
  }
  void QuilDBFormCloseQuery(bool& canClose) override { canClose = mayClose; }
  void QuilDBFormCanDelete(TQuilClientDataSet&, bool& allow) override { allow = mayDelete; }

  TQuilClientDataSet& CDSModules;
  TDataSource& DSModules;
  TDBEdit& EdtCode;
  TButton& BtnGuarded;
  TAction* AGuarded = nullptr;
  bool guardedAllowed = false;
  int guardedRuns = 0;
  std::string sortOrder;
  bool mayClose = true;
  bool mayDelete = true;
};

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { AddFixtureProviders(server); }

  //! The modules the server holds, "id:code" separated by blanks.
  std::string Stored() {
    std::string out;
    for (const Row& row : server.Provider("DSPModules").rows) {
      if (!out.empty()) out += ' ';
      out += row[0].AsString() + ":" + row[1].AsString();
    }
    return out;
  }

  MemoryAppServer server;
  TDMQuil dm{server};
  ScriptedDialogs dialogs;
  TQuilApplication app{dm, dialogs};
};

}  // namespace quil::testing
