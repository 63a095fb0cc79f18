// WebServer: the HTTP side of the web host.
//
// It serves the front-end's static files and the JSON API under /api/ (documented in
// docs/api.md): login and logout, the session's state, events and dialog answers, and the app's
// read-only queries. Too many failed logins for one name refuse that name for a while, and too
// many from one client address, whatever the names, refuse that address (LoginThrottle). A path
// with a NUL in it is refused. Every /api/ path but login answers 401 without a live session
// cookie; every request that changes something must carry the session's CSRF token in X-CSRF-Token
// and a JSON body (Content-Type application/json, which a cross-site form cannot send). Events run
// on the session's worker thread; a request waits for the session's next rest for a short budget
// and otherwise answers "busy", and the browser asks again.
//
// Thread-safe; requests are served by a pool of threads.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "web/LoginThrottle.h"
#include "web/Session.h"
#include "web/SessionApp.h"

namespace quil::web {

struct WebServerOptions {
  //! The application server: a connection for each session's user, and the user directory that
  //! checks a login (opened for each login, used by that request's thread only).
  ServerConnector connect;
  std::function<std::unique_ptr<IUserDirectory>()> users;
  //! The front-end's folder; "" serves no files.
  std::string staticDir;
  SessionLimits limits;
  //! How long an event request waits for the outcome before it answers "busy".
  std::chrono::milliseconds restBudget = std::chrono::milliseconds(500);
  //! How long a /api/wait request waits before it answers "busy" with the progress so far.
  std::chrono::milliseconds pollBudget = std::chrono::milliseconds(500);
  //! How long a query may take before the request answers 503.
  std::chrono::milliseconds queryBudget = std::chrono::seconds(30);
  int threads = 48;
  //! The brakes on failed logins per login name and per client address, and their clock.
  LoginLimits loginLimits;
  LoginLimits addressLimits = AddressLoginLimits();
  LoginThrottle::Now loginClock = LoginThrottle::Clock::now;
  //! The session cookie carries Secure: the browser sends it over HTTPS only (set when the
  //! server stands behind a proxy that speaks TLS).
  bool secureCookie = false;
  SessionAppFactory appFactory;
  //! A line the page shows under its header for every user ("" for none): what the server
  //! does not do in this configuration, such as sending Davinci calls.
  std::string notice;
};

class WebServer {
 public:
  explicit WebServer(WebServerOptions options);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  //! Binds the address; port 0 takes a free one. Returns the port; throws when it cannot bind.
  int Bind(const std::string& address, int port);
  //! Serves requests until Stop; call after Bind.
  void Serve();
  //! Makes Serve return; safe from any thread.
  void Stop();
  SessionManager& Sessions();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

//! The front-end folder of this build: `--static` when given, else the source tree's web/static,
//! else "static" beside the program. "" when none exists.
std::string FindStaticDir(const std::string& given, const std::string& programPath);

}  // namespace quil::web
