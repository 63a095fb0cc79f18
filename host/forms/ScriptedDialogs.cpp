#include "host/forms/ScriptedDialogs.h"

#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/forms/QuilForm.h"

namespace quil {

void ScriptedDialogs::Answer(TModalResult button) {
  Scripted answer;
  answer.button = button;
  answers_.push_back(std::move(answer));
}

void ScriptedDialogs::AnswerChoice(int result) {
  Scripted answer;
  answer.kind = Kind::Choice;
  answer.choice = result;
  answers_.push_back(std::move(answer));
}

void ScriptedDialogs::AnswerInput(std::string text) {
  Scripted answer;
  answer.kind = Kind::Input;
  answer.text = std::move(text);
  answers_.push_back(std::move(answer));
}

void ScriptedDialogs::CancelInput() {
  Scripted answer;
  answer.kind = Kind::CancelledInput;
  answers_.push_back(std::move(answer));
}

void ScriptedDialogs::AnswerModal(std::string formClass, ModalScript act) {
  Scripted answer;
  answer.kind = Kind::Modal;
  answer.text = std::move(formClass);
  answer.act = std::move(act);
  answers_.push_back(std::move(answer));
}

void ScriptedDialogs::AnswerModal(std::string formClass, TModalResult result) {
  AnswerModal(std::move(formClass), [result](TQuilForm& form) { form.SetModalResult(result); });
}

ScriptedDialogs::Scripted ScriptedDialogs::Take(Kind kind, const std::string& question) {
  if (answers_.empty()) throw EScriptFailure("unscripted dialog: " + question);
  bool inputKind = kind == Kind::Input || kind == Kind::CancelledInput;
  bool fits = answers_.front().kind == kind ||
              (inputKind && (answers_.front().kind == Kind::Input ||
                             answers_.front().kind == Kind::CancelledInput));
  if (!fits) throw EScriptFailure("scripted answer of another kind for: " + question);
  Scripted answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

void ScriptedDialogs::ShowMessage(std::string_view text) {
  entries_.push_back({"message", "", std::string(text), ""});
}

TModalResult ScriptedDialogs::MessageDlg(std::string_view text, TMsgDlgType type,
                                         const TMsgDlgButtons& buttons, int) {
  Entry entry{DialogTypeName(type), "", std::string(text), ""};
  int answerable = 0;
  for (TMsgDlgBtn button : buttons) {
    if (button != mbHelp) ++answerable;
  }
  if (answerable <= 1) {
    entries_.push_back(entry);
    for (TMsgDlgBtn button : buttons) {
      if (button != mbHelp) return ResultOfButton(button);
    }
    return mrOk;
  }
  entries_.push_back(entry);  // recorded before the answer, so a failing script still shows it
  Scripted answer = Take(Kind::Button, std::string(text));
  bool offered = false;
  for (TMsgDlgBtn button : buttons) {
    if (ResultOfButton(button) == answer.button) offered = true;
  }
  if (!offered) {
    throw EScriptFailure(Format("answer %s is not a button of: %s", ModalResultName(answer.button),
                                std::string(text)));
  }
  entries_.back().answer = ModalResultName(answer.button);
  return answer.button;
}

int ScriptedDialogs::QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType,
                                 const std::vector<TQuestionChoice>& choices, int) {
  entries_.push_back({"question", std::string(caption), std::string(text), ""});
  Scripted answer = Take(Kind::Choice, std::string(text));
  const TQuestionChoice* chosen = nullptr;
  for (const TQuestionChoice& choice : choices) {
    if (choice.result == answer.choice) chosen = &choice;
  }
  if (chosen == nullptr) {
    throw EScriptFailure(
        Format("choice %d is not offered by: %s", answer.choice, std::string(text)));
  }
  entries_.back().answer = chosen->caption;
  return chosen->result;
}

bool ScriptedDialogs::InputQuery(std::string_view caption, std::string_view prompt,
                                 std::string& value) {
  entries_.push_back({"input", std::string(caption), std::string(prompt), ""});
  Scripted answer = Take(Kind::Input, std::string(prompt));
  if (answer.kind == Kind::CancelledInput) {
    entries_.back().answer = ModalResultName(mrCancel);
    return false;
  }
  value = answer.text;
  entries_.back().answer = "\"" + answer.text + "\"";
  return true;
}

TModalResult ScriptedDialogs::ShowModal(TQuilForm& form) {
  entries_.push_back({"modal", form.ClassName(), form.Caption, ""});
  Scripted answer = Take(Kind::Modal, form.ClassName() + " \"" + form.Caption + "\"");
  if (!SameText(answer.text, form.ClassName())) {
    throw EScriptFailure("modal dialog " + form.ClassName() + " shown where the script expected " +
                         answer.text);
  }
  size_t entry = entries_.size() - 1;
  answer.act(form);
  if (form.ModalResult() == mrNone) {
    throw EScriptFailure("modal dialog " + form.ClassName() + " was left open by the script");
  }
  entries_[entry].answer = ModalResultName(form.ModalResult());
  return form.ModalResult();
}

std::string ScriptedDialogs::Transcript() const {
  std::string out;
  for (const Entry& entry : entries_) {
    out += entry.kind;
    if (!entry.caption.empty()) out += " " + entry.caption;
    out += ": " + entry.text;
    if (!entry.answer.empty()) out += " -> " + entry.answer;
    out += "\n";
  }
  return out;
}

std::vector<std::string> ScriptedDialogs::Texts(std::string_view kind) const {
  std::vector<std::string> out;
  for (const Entry& entry : entries_) {
    if (entry.kind == kind) out.push_back(entry.text);
  }
  return out;
}

}  // namespace quil
