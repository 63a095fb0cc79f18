// BrowserDialogs: questions a session's handler asks the browser, and waits for.
//
// Ask shows a dialog (a JSON object the front-end renders: a message box, a question, an input
// line) and keeps the session thread in a nested loop of its worker until the browser's answer
// arrives as a posted task that calls Answer. While it waits, the dialog is part of every state the
// session publishes, so the request that caused it returns with the dialog and the browser can
// answer. Dialogs nest (a handler run from a modal screen may ask again); only the innermost one
// can be answered. No answer within the timeout, or the session ending, gives nullopt: the caller
// takes it as Cancel, so a browser that went away never holds the thread.
//
// Worker thread only.
#pragma once

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "web/SessionWorker.h"

namespace quil::web {

class BrowserDialogs {
 public:
  BrowserDialogs(SessionWorker& worker, std::chrono::milliseconds timeout)
      : worker_(worker), timeout_(timeout) {}

  //! Shows `dialog` (an object; its "id" is set here) and returns the browser's answer.
  std::optional<nlohmann::json> Ask(nlohmann::json dialog);
  //! The browser's answer to dialog `id`; false when that is not the dialog waiting (answered,
  //! timed out or not the innermost).
  bool Answer(int64_t id, nlohmann::json answer);
  //! The dialog the browser must answer now, or null.
  nlohmann::json Pending() const;
  bool HasPending() const { return !waiting_.empty(); }
  //! How long a nested loop waits for the browser without hearing from it.
  std::chrono::milliseconds Timeout() const { return timeout_; }
  SessionWorker& Worker() const { return worker_; }

 private:
  struct Waiting {
    int64_t id;
    nlohmann::json dialog;
    std::optional<nlohmann::json> answer;
  };

  SessionWorker& worker_;
  std::chrono::milliseconds timeout_;
  std::vector<Waiting*> waiting_;  //!< innermost last; each lives on its Ask's stack
  int64_t lastId_ = 0;
};

}  // namespace quil::web
