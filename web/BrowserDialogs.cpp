#include "web/BrowserDialogs.h"

#include <cassert>

#include "host/base/ScopeExit.h"

namespace quil::web {

std::optional<nlohmann::json> BrowserDialogs::Ask(nlohmann::json dialog) {
  assert(worker_.OnWorkerThread());
  Waiting waiting{++lastId_, std::move(dialog), std::nullopt};
  waiting.dialog["id"] = waiting.id;
  waiting_.push_back(&waiting);
  ScopeExit pop([this] { waiting_.pop_back(); });
  worker_.RunUntil([&] { return waiting.answer.has_value(); }, timeout_);
  return std::move(waiting.answer);
}

bool BrowserDialogs::Answer(int64_t id, nlohmann::json answer) {
  if (waiting_.empty() || waiting_.back()->id != id || waiting_.back()->answer) return false;
  waiting_.back()->answer = std::move(answer);
  return true;
}

nlohmann::json BrowserDialogs::Pending() const {
  return waiting_.empty() ? nlohmann::json() : waiting_.back()->dialog;
}

}  // namespace quil::web
