// DavinciSender: delivers the waiting Davinci calls to the configured endpoint over HTTP.
//
// The sender runs on a thread of its own with a database connection of its own. It takes the
// next due call (CallQueue.h: claimed, not changed), posts its message (DavinciProtocol.h) and
// records the outcome: accepted, refused with Davinci's error text, or failed and tried again
// with back-off until the attempts run out, after which the call waits for a user to mark it
// again. The database is only held for the short claim and settle steps, never while Davinci
// answers, so a user's request never waits for the sender. A sender killed while sending leaves
// the call waiting; Stop() interrupts a send in progress and hands its call back unrecorded.
//
// Start/Stop are for the owner's thread; SendNext is for tests and benchmarks that drive a
// sender without its thread (never both at once). Counters may be read from any thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "host/base/DateTime.h"
#include "server/davinci/CallQueue.h"
#include "server/db/Database.h"

namespace quil::server {

struct DavinciSenderOptions {
  //! "http://host:port" with an optional base path; calls go to <endpoint>/oproepen.
  std::string endpoint{};
  RetryPolicy retry{};
  //! How long a claim lasts; longer than a send can take (connect + read timeout).
  std::chrono::seconds claim{120};
  std::chrono::seconds connectTimeout{5};
  std::chrono::seconds readTimeout{30};
  //! How long the thread sleeps when no call is due.
  std::chrono::milliseconds idle{1000};
  //! The server's clock; default the local time.
  std::function<TDateTime()> clock{};
};

class DavinciSender {
 public:
  //! `db` is the sender's own connection.
  DavinciSender(std::unique_ptr<Database> db, DavinciSenderOptions options);
  ~DavinciSender();
  DavinciSender(const DavinciSender&) = delete;
  DavinciSender& operator=(const DavinciSender&) = delete;

  void Start();
  //! Ends the thread; a send in progress is interrupted and its call left waiting.
  void Stop();
  //! Takes and sends one due call; false when none was due.
  bool SendNext();

  //! Name of this sender in WC_ZENDER: host, process and a number of its own.
  const std::string& Name() const { return name_; }
  long Sent() const { return sent_; }      //!< calls settled (accepted, refused or failed)
  long Errors() const { return errors_; }  //!< database errors met by the thread

 private:
  struct Http;
  CallOutcome Deliver(const WaitingCall& call);
  void Run();
  TDateTime NowTime() const;

  std::unique_ptr<Database> db_;
  DavinciSenderOptions options_;
  std::string name_;
  std::unique_ptr<Http> http_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::atomic<bool> stopping_{false};
  std::atomic<long> sent_{0};
  std::atomic<long> errors_{0};
};

}  // namespace quil::server
