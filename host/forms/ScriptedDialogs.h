// ScriptedDialogs: the dialogs of a test session. Answers come from a queue the test fills in
// advance; every message, question and modal dialog is recorded with its exact text.
//
// A question (a MessageDlg with more than one button, a QuestionDlg, an InputQuery or a modal
// dialog) takes the next answer of the queue. A question nobody scripted, or an answer of the
// wrong kind, throws EScriptFailure with the question's text: the event boundary lets it through,
// so the test fails with it instead of the session carrying on with a made-up answer.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/forms/Dialogs.h"

namespace quil {

//! A test script that does not fit what the screen asked. Never caught by the event boundary.
class EScriptFailure : public std::logic_error {
 public:
  explicit EScriptFailure(const std::string& message) : std::logic_error(message) {}
};

class ScriptedDialogs : public IDialogs {
 public:
  using ModalScript = std::function<void(TQuilForm&)>;

  //! One dialog as the user saw it.
  struct Entry {
    std::string kind;     //!< "message", "error", "warning", "information", "confirmation",
                          //!< "custom", "question", "input", "modal"
    std::string caption;  //!< QuestionDlg/InputQuery caption, modal form class
    std::string text;
    std::string answer;  //!< empty for dialogs that ask nothing
  };

  // --- the script ---------------------------------------------------------------------------
  //! The button of the next MessageDlg or QuilQuestion.
  void Answer(TModalResult button);
  void AnswerYes() { Answer(mrYes); }
  void AnswerNo() { Answer(mrNo); }
  //! The result number of the next QuestionDlg.
  void AnswerChoice(int result);
  //! The text typed in the next InputQuery, or its cancellation.
  void AnswerInput(std::string text);
  void CancelInput();
  //! What the user does in the next modal dialog, which must be of class `formClass`: `act`
  //! works on the form (usually through the application's event boundary) and leaves it with a
  //! modal result.
  void AnswerModal(std::string formClass, ModalScript act);
  //! Closes the next modal dialog of class `formClass` with `result` without touching it.
  void AnswerModal(std::string formClass, TModalResult result);

  // --- what happened ------------------------------------------------------------------------
  const std::vector<Entry>& Entries() const { return entries_; }
  //! One line per dialog: "kind: text", with " -> answer" for questions and "kind caption: text"
  //! where there is a caption.
  std::string Transcript() const;
  //! The texts of the entries of one kind, in order.
  std::vector<std::string> Texts(std::string_view kind) const;
  //! Answers scripted but not used yet.
  int Unused() const { return static_cast<int>(answers_.size()); }
  void Clear() {
    entries_.clear();
    answers_.clear();
  }
  //! Forgets what was shown, keeping the answers still scripted.
  void ClearShown() { entries_.clear(); }

  // --- IDialogs -----------------------------------------------------------------------------
  void ShowMessage(std::string_view text) override;
  TModalResult MessageDlg(std::string_view text, TMsgDlgType type, const TMsgDlgButtons& buttons,
                          int helpContext) override;
  using IDialogs::QuestionDlg;
  int QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType type,
                  const std::vector<TQuestionChoice>& choices, int defaultResult) override;
  bool InputQuery(std::string_view caption, std::string_view prompt, std::string& value) override;
  TModalResult ShowModal(TQuilForm& form) override;

 private:
  enum class Kind { Button, Choice, Input, CancelledInput, Modal };
  struct Scripted {
    Kind kind = Kind::Button;
    TModalResult button = mrNone;
    int choice = 0;
    std::string text;  //!< input text, or the modal form class
    ModalScript act;
  };

  //! The next answer, which must be of `kind`; throws EScriptFailure naming `question`.
  Scripted Take(Kind kind, const std::string& question);

  std::deque<Scripted> answers_;
  std::vector<Entry> entries_;
};

}  // namespace quil
