// What every screen and every dialog of the module owes the user, checked on each of them the
// moment it is registered: it opens on the demo data with its master, every bound field exists
// in its dataset, every visible control says what it is, every action does something (or is a
// declared placeholder), and it closes leaving no dialog open and nothing unsaved.
//
// A screen not built yet opens empty with its notice and must still close clean. A screen that
// asks something when it opens on the demo data gets its answer from kAnswersOnOpen.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "host/data/ClientDataSet.h"
#include "host/forms/DBControls.h"
#include "module/ScreenTest.h"

namespace kavel::testing {
namespace {

using namespace quil;

//! Screens that ask a question when they open on the demo data, with the user's answer.
struct AnswerOnOpen {
  const char* className;
  TModalResult answer;
};
const std::vector<AnswerOnOpen> kAnswersOnOpen = {
    // The first institution listed has no absence codes yet: the standard ones are offered.
    {"TVWOAfwezigheidsCodesForm", mrNo},
};

//! Kinds of control that only lay others out (a caption is optional), or show their data
//! without a caption of their own (a grid's columns have titles, checked per column).
const std::set<std::string> kWithoutCaption = {"TPanel",          "TGroupBox",   "TPageControl",
                                               "TDBGrid",         "TStringGrid", "TPlanner",
                                               "TSelectionPanel", "TProgressBar"};

//! The user reads what a control is from its caption, or from the caption of the panel or group
//! box it is the only control of.
bool Labelled(const TControl& control) {
  if (!control.DisplayCaption().empty()) return true;
  const TControl* parent = control.Parent();
  return parent != nullptr && !parent->Caption.empty() && parent->Children().size() == 1;
}

//! The names of a ";"-separated list.
std::vector<std::string> Names(const std::string& list) {
  std::vector<std::string> names;
  std::string name;
  for (char c : list + ";") {
    if (c != ';') {
      name += c;
    } else if (!name.empty()) {
      names.push_back(name);
      name.clear();
    }
  }
  return names;
}

bool ShownToUser(const TControl& control) {
  for (const TControl* c = &control; c != nullptr; c = c->Parent()) {
    if (!c->Visible) return false;
  }
  return true;
}

//! A field of the dataset behind a data source, or why there is none.
std::string MissingField(const TDataSource* source, const std::string& field) {
  if (source == nullptr) return "no data source";
  const TQuilClientDataSet* dataset = source->DataSet();
  if (dataset == nullptr) return "data source " + source->Name + " has no dataset";
  if (dataset->FindField(field) != nullptr) return "";
  return "field " + field + " not in " + dataset->Name +
         (dataset->Active() ? "" : " (closed, and not declared)");
}

//! Every fault of the form's controls and actions, one line each.
std::string Faults(const TQuilForm& form) {
  std::string faults;
  auto fault = [&](const TControl& control, const std::string& what) {
    faults += form.ClassName() + "." + control.Name() + ": " + what + "\n";
  };
  for (const auto& owned : form.Controls()) {
    const TControl& control = *owned;
    if (const auto* bound = dynamic_cast<const TDBControl*>(&control)) {
      if (std::string missing = MissingField(bound->DataSource, bound->DataField);
          !missing.empty()) {
        fault(control, missing);
      }
    }
    if (const auto* lookup = dynamic_cast<const TDBLookupCombo*>(&control)) {
      for (const std::string& field : {lookup->KeyField, lookup->ListField}) {
        for (const std::string& name : Names(field)) {
          if (std::string missing = MissingField(lookup->ListSource, name); !missing.empty()) {
            fault(control, "list: " + missing);
          }
        }
      }
    }
    if (const auto* grid = dynamic_cast<const TDBGrid*>(&control)) {
      for (const TColumn& column : grid->Columns) {
        if (std::string missing = MissingField(grid->DataSource, column.FieldName);
            !missing.empty()) {
          fault(control, "column: " + missing);
        }
      }
      if (ShownToUser(control)) {
        for (const TColumn& column : grid->VisibleColumns()) {
          if (grid->ColumnTitle(column).empty()) fault(control, "column without title");
        }
      }
    }
    if (ShownToUser(control) && !Labelled(control) &&
        kWithoutCaption.count(control.ClassName()) == 0) {
      fault(control, std::string(control.ClassName()) + " without caption");
    }
  }
  for (const auto& action : form.Actions()) {
    if (!action->OnExecute && !action->Placeholder) {
      faults += form.ClassName() + "." + action->Name() + ": action without handler\n";
    }
    if (action->Caption.empty()) {
      faults += form.ClassName() + "." + action->Name() + ": action without caption\n";
    }
  }
  return faults;
}

//! Unsaved work of every open screen: records in edit and changes not applied.
std::string Pending(const TQuilApplication& app) {
  std::string pending;
  for (const TQuilDBForm* form : app.Forms()) {
    for (const auto& dataset : form->DataSets()) {
      if (dataset->State() == DataSetState::Edit || dataset->State() == DataSetState::Insert ||
          dataset->ChangeCount() > 0) {
        pending += form->ClassName() + "." + dataset->Name + "\n";
      }
    }
  }
  return pending;
}

class ContractTest : public ScreenTest {
 protected:
  //! Opens a screen with its master: from the menu, or as its default browser opens it, or
  //! through the form link of the first registered screen that links to it.
  TQuilDBForm& OpenWithMaster(const std::string& className, int depth = 0) {
    const TFormRegistration* registration = nullptr;
    for (const TFormRegistration& r : FormManager().Registrations()) {
      if (SameText(r.FormClass.ClassName, className)) registration = &r;
    }
    if (registration == nullptr) throw std::runtime_error(className + " is not registered");
    const std::string& browser = registration->FormClass.Definition.DefaultBrowserForm;
    const bool fromMenu = !registration->Path.empty() ||
                          (!browser.empty() && FormManager().FindFormByName(browser) != nullptr);
    if (!fromMenu && depth < 8) {
      for (const TFormRegistration& r : FormManager().Registrations()) {
        for (const TQuilFormLink& link : r.FormClass.Definition.FormLinks) {
          if (SameText(link.DetailForm, className)) {
            TQuilDBForm& opener = OpenWithMaster(r.FormClass.ClassName, depth + 1);
            return OpenLink(opener, link.DisplayName);
          }
        }
      }
    }
    for (const AnswerOnOpen& answer : kAnswersOnOpen) {
      if (SameText(answer.className, className)) dialogs.Answer(answer.answer);
    }
    return Open(className);
  }

  //! Closes every open screen, the masters last; each must agree to close.
  void CloseAll() {
    while (!app.Forms().empty()) {
      TQuilDBForm* root = app.Forms().front();
      while (root->MasterForm() != nullptr) root = root->MasterForm();
      ASSERT_TRUE(app.CloseForm(*root)) << root->ClassName() << " refused to close";
    }
  }

  //! Lines of what the user was shown that are not the notice of a screen not built yet.
  std::string Complaints() {
    std::string complaints;
    for (const ScriptedDialogs::Entry& entry : dialogs.Entries()) {
      if (entry.kind == "message" && entry.text.find("nog niet beschikbaar") != std::string::npos)
        continue;
      if (entry.kind == "modal" || !entry.answer.empty()) continue;  // scripted
      complaints += entry.kind + ": " + entry.text + "\n";
    }
    for (const std::string& error : app.InternalErrors()) complaints += "internal: " + error + "\n";
    return complaints;
  }
};

std::vector<std::string> RegisteredScreens() {
  LoadModule();
  std::vector<std::string> names;
  for (const TFormRegistration& r : FormManager().Registrations()) {
    names.push_back(r.FormClass.ClassName);
  }
  return names;
}

//! Dialogs by "class from opener": the same dialog may be declared for several screens.
std::vector<std::string> DeclaredDialogs() {
  LoadModule();
  std::vector<std::string> names;
  for (const TDialogClass& dialog : FormManager().Dialogs()) {
    names.push_back(dialog.ClassName + "_from_" + dialog.OpenerClass);
  }
  return names;
}

class ScreenContract : public ContractTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(ScreenContract, OpensWithItsMasterIsCompleteAndClosesClean) {
  TQuilDBForm& form = OpenWithMaster(GetParam());
  EXPECT_EQ(form.ClassName(), GetParam());
  EXPECT_EQ(Faults(form), "");
  EXPECT_EQ(Complaints(), "");
  EXPECT_EQ(Pending(app), "");
  CloseAll();
  EXPECT_TRUE(app.Forms().empty());
  EXPECT_TRUE(app.ModalForms().empty());
  EXPECT_EQ(dialogs.Unused(), 0) << "an answer on open was not asked for";
}

INSTANTIATE_TEST_SUITE_P(Registered, ScreenContract, ::testing::ValuesIn(RegisteredScreens()),
                         [](const auto& info) { return info.param; });

class DialogContract : public ContractTest, public ::testing::WithParamInterface<std::string> {
 protected:
  const TDialogClass& Dialog() {
    return FormManager().Dialogs().at(
        static_cast<size_t>(std::find(names_.begin(), names_.end(), GetParam()) - names_.begin()));
  }
  std::vector<std::string> names_ = DeclaredDialogs();
};

//! The button that closes a dialog without doing anything; nullptr when it has none.
const TButton* CancelButton(const TQuilForm& form) {
  for (const auto& control : form.Controls()) {
    const auto* button = dynamic_cast<const TButton*>(control.get());
    if (button != nullptr && ShownToUser(*button) && button->ModalResult == mrCancel) return button;
  }
  return nullptr;
}

TEST_P(DialogContract, OpensFromItsScreenIsCompleteAndCancelsClean) {
  const TDialogClass& declared = Dialog();
  TQuilDBForm& opener = OpenWithMaster(declared.OpenerClass);
  std::unique_ptr<TQuilForm> dialog;
  ASSERT_EQ(app.Run([&] { dialog = declared.Factory(opener); }), TEventResult::Done)
      << dialogs.Transcript();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->ClassName(), declared.ClassName);

  TModalResult result = mrNone;
  dialogs.AnswerModal(declared.ClassName, [&](TQuilForm& shown) {
    EXPECT_EQ(Faults(shown), "");
    const TButton* cancel = CancelButton(shown);
    ASSERT_NE(cancel, nullptr) << "no button closes the dialog with mrCancel";
    // In the browser Escape presses the cancel button and Enter the one that accepts.
    EXPECT_TRUE(cancel->Cancel) << cancel->Name() << " closes with mrCancel, but not on Escape";
    for (const auto& control : shown.Controls()) {
      const auto* button = dynamic_cast<const TButton*>(control.get());
      if (button != nullptr && ShownToUser(*button) && button->ModalResult == mrOk) {
        EXPECT_TRUE(button->Default) << button->Name() << " accepts the dialog, but not on Enter";
      }
    }
    EXPECT_EQ(app.Click(shown, cancel->Name()), TEventResult::Done) << dialogs.Transcript();
  });
  ASSERT_EQ(app.Run([&] { result = dialog->ShowModal(); }), TEventResult::Done)
      << dialogs.Transcript();
  EXPECT_EQ(result, mrCancel);
  EXPECT_TRUE(app.ModalForms().empty());
  EXPECT_EQ(Complaints(), "");
  EXPECT_EQ(Pending(app), "");
  dialog.reset();
  CloseAll();
  EXPECT_TRUE(app.Forms().empty());
}

INSTANTIATE_TEST_SUITE_P(Declared, DialogContract, ::testing::ValuesIn(DeclaredDialogs()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace kavel::testing
