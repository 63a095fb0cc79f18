// Session: one logged-in user in one browser, and the SessionManager that keeps them.
//
// A session is known by a random id (the HttpOnly cookie) and carries a second random value, the
// CSRF token, that the browser must send back in a header with every request that changes
// something. Each session has its own worker thread, on which its app and its dialogs live.
//
// A session ends on logout, or when the browser has not been heard from for the idle timeout
// (checked on every lookup and by a sweeper thread). Ending stops the worker at once, so a handler
// waiting for the browser gets Cancel; the sweeper joins the thread afterwards, so no HTTP thread
// waits for a handler to finish.
//
// SessionManager is thread-safe. A Session's own members are safe to read from any thread; its
// app is reached only through tasks on its worker.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "web/BrowserDialogs.h"
#include "web/SessionApp.h"
#include "web/SessionWorker.h"

namespace quil::web {

struct SessionLimits {
  std::chrono::milliseconds idleTimeout = std::chrono::minutes(30);
  //! How long a question waits for the browser before it counts as Cancel.
  std::chrono::milliseconds dialogTimeout = std::chrono::minutes(10);
};

class Session {
 public:
  using Clock = std::chrono::steady_clock;

  Session(std::string id, std::string csrfToken, User user, ServerConnector connect,
          const SessionAppFactory& factory, std::chrono::milliseconds dialogTimeout);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const std::string& Id() const { return id_; }
  const std::string& CsrfToken() const { return csrfToken_; }
  const User& GetUser() const { return user_; }
  SessionWorker& Worker() { return worker_; }

  //! Constant-time comparison with the session's CSRF token.
  bool CheckCsrf(std::string_view token) const;
  void Touch() { lastSeen_ = Clock::now().time_since_epoch().count(); }
  Clock::time_point LastSeen() const {
    return Clock::time_point(Clock::duration(lastSeen_.load()));
  }

  //! Posts a browser event for the app; returns its sequence number (0: the session ended).
  uint64_t PostEvent(nlohmann::json event);
  //! Posts the answer to a dialog; a stale answer changes nothing.
  uint64_t PostAnswer(int64_t dialogId, nlohmann::json answer);
  //! Runs a query of the app on the session thread. nullopt: not finished within the budget.
  //! Throws what the app throws (UnknownQuery, BadRequest, EClientError, ...).
  std::optional<nlohmann::json> Query(std::string name, nlohmann::json args,
                                      std::chrono::milliseconds budget);

 private:
  nlohmann::json Snapshot();
  //! An error message box, answered with OK.
  void ShowError(const std::string& text);

  const std::string id_;
  const std::string csrfToken_;
  const User user_;
  const ServerConnector connect_;
  const SessionAppFactory& factory_;
  std::atomic<Clock::rep> lastSeen_;
  // Built and used on the worker thread only.
  std::unique_ptr<BrowserDialogs> dialogs_;
  std::unique_ptr<SessionApp> app_;
  // Last: its thread starts in the constructor and ends (joined) before the members above go.
  SessionWorker worker_;
};

class SessionManager {
 public:
  SessionManager(ServerConnector connect, SessionAppFactory factory, SessionLimits limits);
  //! Ends every session and joins their threads.
  ~SessionManager();
  SessionManager(const SessionManager&) = delete;
  SessionManager& operator=(const SessionManager&) = delete;

  std::shared_ptr<Session> Create(const User& user);
  //! The live session with this id, touched; nullptr when unknown or idle too long (it ends).
  std::shared_ptr<Session> Find(std::string_view id);
  void End(std::string_view id);
  //! Ends every session (the server is stopping).
  void EndAll();
  int Count() const;
  const SessionLimits& Limits() const { return limits_; }

 private:
  void EndLocked(std::map<std::string, std::shared_ptr<Session>, std::less<>>::iterator it);
  void Sweep();

  const ServerConnector connect_;
  const SessionAppFactory factory_;
  const SessionLimits limits_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool closing_ = false;
  std::map<std::string, std::shared_ptr<Session>, std::less<>> sessions_;
  std::vector<std::shared_ptr<Session>> ended_;  //!< stopped, waiting to be joined
  std::thread sweeper_;
};

//! A random token of 32 bytes as 64 hex digits.
std::string RandomToken();

}  // namespace quil::web
