// ScreenTest: the fixture of every screen test. A fresh demo database (NewDemoServer), the module
// loaded into the host, and a logged-in session of the administrator with working-year
// preferences in the demo year. A test opens screens by class name as the user does (from the
// menu, so the default browser is their master, or through a form link), acts through the
// session's event boundary, scripts the answers to the dialogs in order, and compares what the
// user was shown, what the server stored and which jobs were called, each as one text.
//
// Every modal dialog a test meets must be a dialog the module declared (RegisterDialogClass):
// the contract test walks the declared ones, so an undeclared dialog would escape it.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "common/DemoServer.h"
#include "core/kavelmod.h"
#include "host/data/DMQuil.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"

namespace kavel::testing {

//! The working date of the test sessions: a Wednesday in the first trimester of the demo year.
inline quil::TDateTime DemoWerkDatum() {
  return quil::EncodeDate(kDemoWorkingYear, 10, 1);
}

//! The module as the host loads it: once per process (a second entry registers nothing).
inline void LoadModule() {
  if (quil::FormManager().FormClassCount() == 0) QuilModuleEntry();
}

//! One user's session on a server: the connection, the scripted dialogs and the preferences.
struct Session {
  explicit Session(quil::IAppServer& server) : dm(server) { app.SetAdminPrefs(prefs); }

  quil::TDMQuil dm;
  quil::ScriptedDialogs dialogs;
  quil::TQuilApplication app{dm, dialogs};
  std::shared_ptr<quil::AdminPrefs> prefs = std::make_shared<quil::AdminPrefs>(DemoWerkDatum());
};

class ScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadModule(); }

  void TearDown() override { CheckDialogsDeclared(); }

  void CheckDialogsDeclared() {
    for (const quil::ScriptedDialogs::Entry& entry : dialogs.Entries()) {
      if (entry.kind == "modal" && quil::FormManager().FindDialogByName(entry.caption) == nullptr) {
        ADD_FAILURE() << "the dialog " << entry.caption
                      << " is shown but not declared with RegisterDialogClass";
      }
    }
  }

  // --- opening --------------------------------------------------------------------------------
  //! Opens a screen as from the menu: its default browser is opened first and is its master.
  //! Throws (failing the test) with what the user was shown when it does not open.
  template <class TScreen = quil::TQuilDBForm>
  TScreen& Open(std::string_view className) {
    return Checked<TScreen>(app.OpenForm(className), className);
  }
  //! Opens the detail screen of a form link of an open screen (by its display name).
  template <class TScreen = quil::TQuilDBForm>
  TScreen& OpenLink(quil::TQuilDBForm& master, std::string_view displayName) {
    return Checked<TScreen>(app.OpenFormLink(master, displayName), displayName);
  }

  // --- acting as the user ---------------------------------------------------------------------
  quil::TEventResult Set(quil::TQuilForm& form, std::string_view control, std::string_view text) {
    return app.SetValue(form, control, text);
  }
  //! Types or picks each value in turn; each must be taken.
  void Fill(quil::TQuilForm& form,
            std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    for (const auto& [control, text] : values) {
      EXPECT_EQ(app.SetValue(form, control, text), quil::TEventResult::Done)
          << control << " = \"" << text << "\": " << dialogs.Transcript();
    }
  }
  //! Executes an action, as its button or menu entry does.
  quil::TEventResult Press(quil::TQuilForm& form, std::string_view action) {
    return app.Execute(form, action);
  }
  quil::TEventResult Click(quil::TQuilForm& form, std::string_view control) {
    return app.Click(form, control);
  }
  //! A navigator button of a data source: insert, post, delete, ...
  quil::TEventResult Command(quil::TQuilForm& form, std::string_view source,
                             quil::TDataSetCommand command) {
    return app.DataSetCommand(form, source, command);
  }
  quil::TEventResult MoveTo(quil::TQuilForm& form, std::string_view source, int recNo) {
    return app.MoveTo(form, source, recNo);
  }

  // --- what the user saw and the server kept --------------------------------------------------
  //! The dialogs shown since the last call, as ScriptedDialogs renders them; answers scripted
  //! for later stay.
  std::string Messages() {
    CheckDialogsDeclared();
    std::string shown = dialogs.Transcript();
    dialogs.ClearShown();
    return shown;
  }
  //! Rows of a query on the server's database (QueryText).
  std::string Stored(std::string_view sql) { return QueryText(server->db(), sql); }
  //! The job calls, one line each: type | id | phase | data (typed JSON, values in order).
  std::string JobLog() {
    return Stored("SELECT JL_JOBTYPE, JL_JOBID, JL_FASE, JL_DATA FROM JOBLOG ORDER BY JL_ID");
  }

  std::unique_ptr<quil::server::AppServer> server = NewDemoServer();
  Session session{*server};
  quil::TQuilApplication& app = session.app;
  quil::ScriptedDialogs& dialogs = session.dialogs;
  quil::AdminPrefs& prefs = *session.prefs;

 private:
  template <class TScreen>
  TScreen& Checked(quil::TQuilDBForm* form, std::string_view name) {
    auto* screen = dynamic_cast<TScreen*>(form);
    if (screen == nullptr) {
      throw std::runtime_error(std::string(name) +
                               " did not open as expected: " + dialogs.Transcript());
    }
    return *screen;
  }
};

}  // namespace kavel::testing
