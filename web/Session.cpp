#include "web/Session.h"

#include <sodium.h>

#include <iostream>

#include "host/base/Errors.h"
#include "host/base/Strings.h"

namespace quil::web {

std::string RandomToken() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium kon niet starten");
  unsigned char bytes[32];
  randombytes_buf(bytes, sizeof bytes);
  char hex[2 * sizeof bytes + 1];
  sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
  return hex;
}

// --- Session ------------------------------------------------------------------------------------

Session::Session(std::string id, std::string csrfToken, User user, ServerConnector connect,
                 const SessionAppFactory& factory, std::chrono::milliseconds dialogTimeout)
    : id_(std::move(id)),
      csrfToken_(std::move(csrfToken)),
      user_(std::move(user)),
      connect_(std::move(connect)),
      factory_(factory),
      lastSeen_(Clock::now().time_since_epoch().count()),
      worker_(SessionWorker::Hooks{
          .start =
              [this, dialogTimeout] {
                dialogs_ = std::make_unique<BrowserDialogs>(worker_, dialogTimeout);
                SessionContext context{user_, connect_, worker_, *dialogs_};
                app_ = factory_(context);
              },
          .snapshot = [this] { return Snapshot(); },
          .stop =
              [this] {
                app_.reset();
                dialogs_.reset();
              },
      }) {}

bool Session::CheckCsrf(std::string_view token) const {
  return token.size() == csrfToken_.size() &&
         sodium_memcmp(token.data(), csrfToken_.data(), token.size()) == 0;
}

uint64_t Session::PostEvent(nlohmann::json event) {
  return worker_.Post([this, event = std::move(event)] {
    if (!app_) return;
    // A message box is modal for the whole session: nothing else runs until it is answered.
    if (dialogs_->HasPending()) return;
    try {
      app_->HandleEvent(event);
    } catch (const BadRequest& error) {
      ShowError(std::string("Ongeldige opdracht: ") + error.what());
    } catch (const EAbort&) {
    } catch (const std::exception& error) {
      std::cerr << "kavel: interne fout in de sessie van " << user_.login << ": " << error.what()
                << "\n";
      ShowError(std::string("Interne fout: ") + error.what());
    }
  });
}

uint64_t Session::PostAnswer(int64_t dialogId, nlohmann::json answer) {
  return worker_.Post([this, dialogId, answer = std::move(answer)]() mutable {
    if (dialogs_) dialogs_->Answer(dialogId, std::move(answer));
  });
}

std::optional<nlohmann::json> Session::Query(std::string name, nlohmann::json args,
                                             std::chrono::milliseconds budget) {
  return worker_.Call(
      [this, name = std::move(name), args = std::move(args)]() -> nlohmann::json {
        if (!app_) throw UnknownQuery(name);
        return app_->Query(name, args);
      },
      budget);
}

nlohmann::json Session::Snapshot() {
  return {{"state", app_ ? app_->State() : nlohmann::json::object()},
          {"dialog", dialogs_ ? dialogs_->Pending() : nlohmann::json()}};
}

void Session::ShowError(const std::string& text) {
  dialogs_->Ask({{"kind", "message"},
                 {"type", "error"},
                 {"text", EchoText(text, kMaxMessageBytes)},
                 {"buttons", nlohmann::json::array({{{"result", 1}, {"caption", "OK"}}})}});
}

// --- SessionManager -----------------------------------------------------------------------------

SessionManager::SessionManager(ServerConnector connect, SessionAppFactory factory,
                               SessionLimits limits)
    : connect_(std::move(connect)), factory_(std::move(factory)), limits_(limits) {
  sweeper_ = std::thread([this] { Sweep(); });
}

SessionManager::~SessionManager() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    while (!sessions_.empty()) EndLocked(sessions_.begin());
  }
  wake_.notify_all();
  sweeper_.join();
  for (auto& session : ended_) session->Worker().Join();
}

std::shared_ptr<Session> SessionManager::Create(const User& user) {
  auto session = std::make_shared<Session>(RandomToken(), RandomToken(), user, connect_, factory_,
                                           limits_.dialogTimeout);
  std::lock_guard lock(mutex_);
  sessions_.emplace(session->Id(), session);
  return session;
}

std::shared_ptr<Session> SessionManager::Find(std::string_view id) {
  std::lock_guard lock(mutex_);
  auto it = sessions_.find(id);
  if (it == sessions_.end()) return nullptr;
  if (Session::Clock::now() - it->second->LastSeen() > limits_.idleTimeout) {
    EndLocked(it);
    return nullptr;
  }
  it->second->Touch();
  return it->second;
}

void SessionManager::End(std::string_view id) {
  {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(id);
    if (it != sessions_.end()) EndLocked(it);
  }
  wake_.notify_all();
}

void SessionManager::EndAll() {
  {
    std::lock_guard lock(mutex_);
    while (!sessions_.empty()) EndLocked(sessions_.begin());
  }
  wake_.notify_all();
}

int SessionManager::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(sessions_.size());
}

void SessionManager::EndLocked(
    std::map<std::string, std::shared_ptr<Session>, std::less<>>::iterator it) {
  it->second->Worker().Stop();
  ended_.push_back(std::move(it->second));
  sessions_.erase(it);
}

void SessionManager::Sweep() {
  // Often enough that an idle session ends close to its timeout, but at most once a second.
  const auto interval = std::min<std::chrono::milliseconds>(
      std::chrono::seconds(1), limits_.idleTimeout / 4 + std::chrono::milliseconds(1));
  std::unique_lock lock(mutex_);
  while (!closing_) {
    wake_.wait_for(lock, interval);
    const auto now = Session::Clock::now();
    for (auto it = sessions_.begin(); it != sessions_.end();) {
      auto next = std::next(it);
      if (now - it->second->LastSeen() > limits_.idleTimeout) EndLocked(it);
      it = next;
    }
    // Joining waits for a running handler to finish: do it without holding the lock.
    std::vector<std::shared_ptr<Session>> joining;
    joining.swap(ended_);
    lock.unlock();
    for (auto& session : joining) session->Worker().Join();
    joining.clear();
    lock.lock();
  }
}

}  // namespace quil::web
