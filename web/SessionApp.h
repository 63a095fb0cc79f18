// SessionApp: what the web host serves in one session.
//
// The web host knows sessions, threads and HTTP; what a session shows and does is a SessionApp
// (the host's screens in the program, a small stand-in in the web host's own tests). A session
// builds its app on its own thread and calls it only there: events from the browser, read-only
// queries (the menu, a page of rows, a printable listing) and the state published after every
// event. An app asks the browser through the session's BrowserDialogs and reports progress through
// its worker.
#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

#include "host/data/AppServer.h"
#include "host/data/UserDirectory.h"
#include "web/BrowserDialogs.h"
#include "web/SessionWorker.h"

namespace quil::web {

//! A query name the app does not answer (the web host answers 404).
class UnknownQuery : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

//! A request the app refuses as malformed (the web host answers 400 with the message).
class BadRequest : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

//! Opens a connection to the application server as a user.
using ServerConnector = std::function<std::unique_ptr<IAppServer>(const User& user)>;

//! What a session gives its app. The context itself is passed for the app to copy; the worker
//! and dialogs it refers to live as long as the app.
struct SessionContext {
  User user;
  //! A connection to the application server as the session's user, for the app to own.
  ServerConnector connect;
  SessionWorker& worker;
  BrowserDialogs& dialogs;
};

class SessionApp {
 public:
  virtual ~SessionApp() = default;
  //! One event of the browser (an object with "type"). Errors a user must see are shown by the
  //! app itself; BadRequest refuses a malformed event.
  virtual void HandleEvent(const nlohmann::json& event) = 0;
  //! A read-only request; `args` holds the query parameters as strings.
  virtual nlohmann::json Query(std::string_view name, const nlohmann::json& args) = 0;
  //! What the browser shows, published whenever the session comes to rest.
  virtual nlohmann::json State() = 0;
};

using SessionAppFactory = std::function<std::unique_ptr<SessionApp>(const SessionContext&)>;

}  // namespace quil::web
