#include "web/LoginThrottle.h"

#include <algorithm>
#include <utility>

#include "host/base/SysUtils.h"

namespace quil::web {

LoginLimits AddressLoginLimits() {
  LoginLimits limits;
  limits.maxFailures = 20;
  limits.waitWhileChecking = false;
  limits.successClears = false;
  return limits;
}

LoginThrottle::Attempt::Attempt(Attempt&& other) noexcept
    : throttle_(std::exchange(other.throttle_, nullptr)),
      key_(std::move(other.key_)),
      admitted_(other.admitted_),
      busy_(other.busy_) {}

LoginThrottle::Attempt::~Attempt() {
  if (throttle_ != nullptr) throttle_->Finish(key_, Outcome::Unknown);
}

void LoginThrottle::Attempt::Failed() {
  if (throttle_ != nullptr) std::exchange(throttle_, nullptr)->Finish(key_, Outcome::Failed);
}

void LoginThrottle::Attempt::Succeeded() {
  if (throttle_ != nullptr) std::exchange(throttle_, nullptr)->Finish(key_, Outcome::Succeeded);
}

LoginThrottle::LoginThrottle(LoginLimits limits, Now now) : limits_(limits), now_(std::move(now)) {}

LoginThrottle::Attempt LoginThrottle::Begin(std::string_view login) {
  const std::string_view key = login.substr(0, kMaxLoginBytes);
  std::unique_lock lock(mutex_);
  for (;;) {
    const Clock::time_point now = now_();
    auto it = entries_.find(key);
    if (it == entries_.end()) {
      if (entries_.size() >= limits_.maxNames) MakeRoom(now);
      it = entries_.emplace(std::string(key), Entry{}).first;
    }
    Entry& entry = it->second;
    if (now < entry.lockedUntil) return Attempt(nullptr, "");
    std::erase_if(entry.failures, [&](Clock::time_point at) { return at <= now - limits_.window; });
    if (static_cast<int>(entry.failures.size()) + entry.checking < limits_.maxFailures) {
      ++entry.checking;
      entry.last = now;
      return Attempt(this, std::string(key));
    }
    if (!limits_.waitWhileChecking) return Attempt(nullptr, "", true);
    // The entry stays while attempts are being checked; it may be another one when we wake.
    finished_.wait(lock);
  }
}

void LoginThrottle::Finish(const std::string& key, Outcome outcome) {
  {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end()) return;
    Entry& entry = it->second;
    --entry.checking;
    const Clock::time_point now = now_();
    if (outcome == Outcome::Succeeded && limits_.successClears) {
      entry.failures.clear();
      entry.lockedUntil = {};
    } else if (outcome == Outcome::Failed) {
      entry.failures.push_back(now);
      if (static_cast<int>(entry.failures.size()) >= limits_.maxFailures) {
        entry.lockedUntil = now + limits_.lockout;
        entry.failures.clear();
      }
    }
    if (Forgettable(entry, now) && entry.failures.empty()) entries_.erase(it);
  }
  finished_.notify_all();
}

std::string LoginThrottle::RefusalText() const {
  const auto minutes = std::chrono::ceil<std::chrono::minutes>(limits_.lockout).count();
  return Format("Te veel mislukte aanmeldingen; probeer het over %d minuten opnieuw.",
                static_cast<int>(minutes));
}

size_t LoginThrottle::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

bool LoginThrottle::Forgettable(const Entry& entry, Clock::time_point now) const {
  return entry.checking == 0 && now >= entry.lockedUntil &&
         (entry.failures.empty() || now - entry.failures.back() >= limits_.window);
}

void LoginThrottle::MakeRoom(Clock::time_point now) {
  std::erase_if(entries_, [&](const auto& item) { return Forgettable(item.second, now); });
  if (entries_.size() < limits_.maxNames) return;
  // Names being checked stay; with none left to forget the bound gives way for a moment.
  auto oldest = entries_.end();
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->second.checking > 0) continue;
    if (oldest == entries_.end() || it->second.last < oldest->second.last) oldest = it;
  }
  if (oldest != entries_.end()) entries_.erase(oldest);
}

}  // namespace quil::web
