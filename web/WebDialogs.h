// WebDialogs: the host's dialogs of one web session, shown in the browser.
//
// Messages, questions and input lines become dialogs of the session's BrowserDialogs: the handler
// that asks waits on the session thread until the browser answers. A modal form is shown by
// keeping it on the modal stack (the state the browser gets includes it) and running the
// session's tasks, the dialog's own events among them, until the form has a modal result.
//
// The browser answers a dialog with {"result": n} (the modal result or choice number) and an
// input line with {"result": 1, "value": text}. When no answer comes within the session's dialog
// timeout, or the session ends, every dialog answers Cancel: MessageDlg and ShowModal return
// mrCancel, QuestionDlg returns 2 (the Cancel number), InputQuery returns false.
//
// Worker thread only.
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "host/forms/Dialogs.h"
#include "web/BrowserDialogs.h"

namespace quil::web {

class WebDialogs final : public IDialogs {
 public:
  explicit WebDialogs(BrowserDialogs& dialogs) : dialogs_(dialogs) {}

  void ShowMessage(std::string_view text) override;
  TModalResult MessageDlg(std::string_view text, TMsgDlgType type, const TMsgDlgButtons& buttons,
                          int helpContext) override;
  int QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType type,
                  const std::vector<TQuestionChoice>& choices, int defaultResult) override;
  bool InputQuery(std::string_view caption, std::string_view prompt, std::string& value) override;
  TModalResult ShowModal(TQuilForm& form) override;

  //! The forms shown modally, innermost last.
  const std::vector<TQuilForm*>& ModalForms() const { return modal_; }

 private:
  //! The number the browser answered with; nullopt when it did not answer.
  std::optional<int> AskResult(nlohmann::json dialog);

  BrowserDialogs& dialogs_;
  std::vector<TQuilForm*> modal_;
};

}  // namespace quil::web
