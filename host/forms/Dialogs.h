// IDialogs: the host's message, question, input and modal dialogs of one session.
//
// Every call is synchronous for the screen that makes it: the session waits for the user's answer
// (in the web host the session thread waits in a nested event loop until the browser answers; in
// tests a ScriptedDialogs answers from a queue). Questions return values, never throw for No or
// Cancel: the screen decides what the answer means (usually an EAbort that ends the operation
// silently).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/forms/ModalResult.h"

namespace quil {

class TQuilForm;

//! One answer of a QuestionDlg: the number it returns and the caption of its button.
struct TQuestionChoice {
  int result;
  std::string caption;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;

  virtual void ShowMessage(std::string_view text) = 0;
  //! Returns the modal result of the button chosen (Yes = 6, No = 7, Cancel = 2).
  virtual TModalResult MessageDlg(std::string_view text, TMsgDlgType type,
                                  const TMsgDlgButtons& buttons, int helpContext) = 0;
  //! Returns the result number of the choice made.
  virtual int QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType type,
                          const std::vector<TQuestionChoice>& choices, int defaultResult) = 0;
  //! Asks for one line of text; false when the user cancelled (value unchanged then).
  virtual bool InputQuery(std::string_view caption, std::string_view prompt,
                          std::string& value) = 0;
  //! Shows a form as a modal dialog until it has a modal result, and returns it.
  virtual TModalResult ShowModal(TQuilForm& form) = 0;

  int QuestionDlg(std::string_view text, TMsgDlgType type,
                  const std::vector<TQuestionChoice>& choices, int defaultResult) {
    return QuestionDlg("", text, type, choices, defaultResult);
  }
  //! A yes/no question; true for Yes.
  bool QuilQuestion(std::string_view text) {
    return MessageDlg(text, mtConfirmation, {mbYes, mbNo}, 0) == mrYes;
  }
  //! An information the user acknowledges.
  void QuilMessage(std::string_view text) { MessageDlg(text, mtInformation, {mbOK}, 0); }
};

}  // namespace quil
