#include "web/WebDialogs.h"

#include <algorithm>

#include "host/base/ScopeExit.h"
#include "host/forms/QuilForm.h"

namespace quil::web {

namespace {

using nlohmann::json;

constexpr int kCancelChoice = static_cast<int>(mrCancel);

json Button(int result, std::string_view caption) {
  return {{"result", result}, {"caption", caption}};
}

}  // namespace

std::optional<int> WebDialogs::AskResult(json dialog) {
  auto answer = dialogs_.Ask(std::move(dialog));
  if (!answer || !answer->contains("result") || !(*answer)["result"].is_number_integer()) {
    return std::nullopt;
  }
  return (*answer)["result"].get<int>();
}

void WebDialogs::ShowMessage(std::string_view text) {
  MessageDlg(text, mtCustom, {mbOK}, 0);
}

TModalResult WebDialogs::MessageDlg(std::string_view text, TMsgDlgType type,
                                    const TMsgDlgButtons& buttons, int helpContext) {
  (void)helpContext;  // the web host has no help files
  json offered = json::array();
  for (TMsgDlgBtn button : buttons) {
    if (button == mbHelp) continue;
    offered.push_back(Button(static_cast<int>(ResultOfButton(button)), ButtonCaption(button)));
  }
  if (offered.empty()) offered.push_back(Button(static_cast<int>(mrOk), ButtonCaption(mbOK)));
  auto result = AskResult(
      {{"kind", "message"}, {"type", DialogTypeName(type)}, {"text", text}, {"buttons", offered}});
  // Only a button that was offered counts; anything else is a browser that went astray.
  if (result) {
    for (const json& button : offered) {
      if (button["result"] == *result) return static_cast<TModalResult>(*result);
    }
  }
  return mrCancel;
}

int WebDialogs::QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType type,
                            const std::vector<TQuestionChoice>& choices, int defaultResult) {
  json offered = json::array();
  for (const TQuestionChoice& choice : choices) {
    offered.push_back(Button(choice.result, choice.caption));
  }
  auto result = AskResult({{"kind", "message"},
                           {"type", DialogTypeName(type)},
                           {"caption", caption},
                           {"text", text},
                           {"buttons", offered},
                           {"default", defaultResult}});
  if (result && std::any_of(choices.begin(), choices.end(),
                            [&](const TQuestionChoice& c) { return c.result == *result; })) {
    return *result;
  }
  return kCancelChoice;
}

bool WebDialogs::InputQuery(std::string_view caption, std::string_view prompt, std::string& value) {
  auto answer = dialogs_.Ask({{"kind", "input"},
                              {"caption", caption},
                              {"text", prompt},
                              {"value", value},
                              {"buttons",
                               {Button(static_cast<int>(mrOk), ButtonCaption(mbOK)),
                                Button(static_cast<int>(mrCancel), ButtonCaption(mbCancel))}}});
  if (!answer || answer->value("result", 0) != static_cast<int>(mrOk)) return false;
  value = answer->value("value", std::string());
  return true;
}

TModalResult WebDialogs::ShowModal(TQuilForm& form) {
  modal_.push_back(&form);
  ScopeExit pop([this] { modal_.pop_back(); });
  dialogs_.Worker().RunUntil([&] { return form.ModalResult() != mrNone; }, dialogs_.Timeout());
  return form.ModalResult() != mrNone ? form.ModalResult() : mrCancel;
}

}  // namespace quil::web
