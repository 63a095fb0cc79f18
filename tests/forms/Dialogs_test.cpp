// Scripted dialogs and modal windows: what the user is asked, in what words, and what the
// screens get back.
#include "forms/FormsFixture.h"

namespace quil::testing {
namespace {

TEST_F(SessionTest, QuestionsTakeTheScriptedAnswersAndAreRecordedWordForWord) {
  dialogs.AnswerYes();
  dialogs.Answer(mrCancel);
  dialogs.AnswerChoice(20);
  dialogs.AnswerInput("K2");
  dialogs.CancelInput();
  std::vector<std::string> got;
  EXPECT_EQ(app.Run([&] {
    TModulesTestForm form(app);
    got.push_back(form.QuilQuestion("Lessen verwijderen?") ? "ja" : "nee");
    got.push_back(ModalResultName(
        form.MessageDlg("Wijzigingen bewaren?", mtConfirmation, {mbYes, mbNo, mbCancel})));
    got.push_back(
        IntToStr(form.QuestionDlg("Kopie", "Welke periode?", mtConfirmation,
                                  {{10, "Zelfde schooljaar"}, {20, "Volgend schooljaar"}}, 10)));
    std::string code = "K1";
    got.push_back(form.InputQuery("Klas", "Nieuwe code:", code) ? code : "-");
    got.push_back(form.InputQuery("Klas", "Nieuwe code:", code) ? code : "geannuleerd");
    form.ShowMessage("Klaar.");
    form.QuilMessage("3 lessen aangemaakt");
  }),
            TEventResult::Done);
  EXPECT_EQ(got, (std::vector<std::string>{"ja", "Annuleren", "20", "K2", "geannuleerd"}));
  EXPECT_EQ(dialogs.Transcript(),
            "confirmation: Lessen verwijderen? -> Ja\n"
            "confirmation: Wijzigingen bewaren? -> Annuleren\n"
            "question Kopie: Welke periode? -> Volgend schooljaar\n"
            "input Klas: Nieuwe code: -> \"K2\"\n"
            "input Klas: Nieuwe code: -> Annuleren\n"
            "message: Klaar.\n"
            "information: 3 lessen aangemaakt\n");
  EXPECT_EQ(dialogs.Unused(), 0);
}

TEST_F(SessionTest, AScriptThatDoesNotFitFailsTheTestWithTheQuestion) {
  TModulesTestForm form(app);
  struct Case {
    const char* name;
    std::function<void()> script;
    const char* failure;
  };
  const Case cases[] = {
      {"nothing scripted", [] {}, "unscripted dialog: Lessen verwijderen?"},
      {"answer of another kind", [&] { dialogs.AnswerChoice(1); },
       "scripted answer of another kind for: Lessen verwijderen?"},
      {"button not offered", [&] { dialogs.Answer(mrCancel); },
       "answer Annuleren is not a button of: Lessen verwijderen?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.Clear();
    c.script();
    try {
      app.Run([&] { form.QuilQuestion("Lessen verwijderen?"); });
      ADD_FAILURE() << "the boundary swallowed the script failure";
    } catch (const EScriptFailure& e) {
      EXPECT_STREQ(e.what(), c.failure);
    }
  }
}

//! A dialog that asks for a name; OK refuses an empty one.
class TNameDialog : public TQuilForm {
 public:
  explicit TNameDialog(TQuilApplication& app)
      : TQuilForm(app, "TNameDialog"),
        EdtNaam(Add<TEdit>("EdtNaam")),
        BtnOk(Add<TButton>("BtnOk")),
        BtnCancel(Add<TButton>("BtnCancel")) {
    Caption = "Naam";
    BtnOk.ModalResult = mrOk;
    BtnOk.OnClick = [this] {
      if (EdtNaam.Text().empty()) {
        SetFocus(EdtNaam);
        RaiseClientError("Geef een naam");
      }
    };
    BtnCancel.ModalResult = mrCancel;
  }
  void FormCloseQuery(bool& canClose) override { canClose = mayClose; }

  TEdit& EdtNaam;
  TButton& BtnOk;
  TButton& BtnCancel;
  bool mayClose = true;
};

TEST_F(SessionTest, ModalDialogsReturnTheirResultAndStayOpenOnAClientError) {
  struct Case {
    const char* name;
    ScriptedDialogs::ModalScript act;
    TModalResult result;
    const char* transcript;
  };
  const Case cases[] = {
      {"ok with a name",
       [&](TQuilForm& dlg) {
         EXPECT_EQ(app.SetValue(dlg, "EdtNaam", "Jan"), TEventResult::Done);
         EXPECT_EQ(app.Click(dlg, "BtnOk"), TEventResult::Done);
       },
       mrOk, "modal TNameDialog: Naam -> OK\n"},
      {"ok without a name keeps the dialog open",
       [&](TQuilForm& dlg) {
         EXPECT_EQ(app.Click(dlg, "BtnOk"), TEventResult::ClientError);
         EXPECT_EQ(dlg.ModalResult(), mrNone);
         EXPECT_EQ(dlg.ActiveControl, dlg.FindControl("EdtNaam"));
         EXPECT_EQ(app.Click(dlg, "BtnCancel"), TEventResult::Done);
       },
       mrCancel, "modal TNameDialog: Naam -> Annuleren\nerror: Geef een naam\n"},
      {"a refusing close query keeps it open",
       [&](TQuilForm& dlg) {
         auto& named = dynamic_cast<TNameDialog&>(dlg);
         named.mayClose = false;
         EXPECT_EQ(app.Click(dlg, "BtnCancel"), TEventResult::Done);
         EXPECT_EQ(dlg.ModalResult(), mrNone);
         named.mayClose = true;
         EXPECT_EQ(app.Click(dlg, "BtnCancel"), TEventResult::Done);
       },
       mrCancel, "modal TNameDialog: Naam -> Annuleren\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.Clear();
    dialogs.AnswerModal("TNameDialog", c.act);
    TModalResult result = mrNone;
    EXPECT_EQ(app.Run([&] {
      TNameDialog dlg(app);
      result = dlg.ShowModal();
    }),
              TEventResult::Done);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(dialogs.Transcript(), c.transcript);
  }
}

TEST_F(SessionTest, AModalScriptThatLeavesTheDialogOpenFails) {
  dialogs.AnswerModal("TNameDialog", [](TQuilForm&) {});
  EXPECT_THROW(app.Run([&] {
    TNameDialog dlg(app);
    dlg.ShowModal();
  }),
               EScriptFailure);
}

}  // namespace
}  // namespace quil::testing
