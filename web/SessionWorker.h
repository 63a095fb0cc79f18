// SessionWorker: the UI thread of one web session.
//
// Everything a session does runs on its own thread, one task at a time and in the order the
// requests posted them, so the screens of a session never see two threads. HTTP threads only post
// tasks and wait for the outcome.
//
// The outcome of a request is the session's state at the next moment of rest: the worker comes to
// rest when its queue is empty and it is about to wait, either idle at the top or inside a handler
// that waits for the browser (a question, a modal dialog). At each rest it calls the snapshot
// function on its own thread and publishes the result with the sequence number of the last task it
// took, so a request knows its task has been taken when the published number reaches its own.
// A handler that needs the browser's answer calls RunUntil: a nested loop that runs the tasks
// posted meanwhile (the answer is one of them) until its condition holds, and gives up when no
// task arrives for the given time, or at once when the worker stops, so a browser that went away
// never keeps the thread waiting forever.
//
// A long handler does not rest; a request that waits longer than its budget gets "busy" with the
// last progress the handler reported, and asks again.
//
// Thread-safety: Post, WaitForRest, Call, Progress and Stop may be called from any thread;
// RunUntil, ReportProgress and Stopping only from the worker thread (inside a task).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

namespace quil::web {

class SessionWorker {
 public:
  using Task = std::function<void()>;
  using Clock = std::chrono::steady_clock;

  struct Hooks {
    //! Runs first on the worker thread (the session builds what lives on it here).
    std::function<void()> start;
    //! The state published at each rest; called on the worker thread.
    std::function<nlohmann::json()> snapshot;
    //! Runs last on the worker thread, after the last task.
    std::function<void()> stop;
  };

  //! A published state and the sequence number of the last task taken before it.
  struct Rest {
    uint64_t seq = 0;
    nlohmann::json state;
  };

  enum class WaitResult { Rested, Busy, Stopped };

  explicit SessionWorker(Hooks hooks);
  //! Stops the worker and joins its thread (after the running task ends).
  ~SessionWorker();
  SessionWorker(const SessionWorker&) = delete;
  SessionWorker& operator=(const SessionWorker&) = delete;

  //! Queues a task; returns its sequence number (> 0), or 0 when the worker has stopped.
  uint64_t Post(Task task);
  //! Waits until the worker rested after taking task `seq`, at most `budget`. On Rested, `rest`
  //! holds the state; on Busy it holds the last rest.
  WaitResult WaitForRest(uint64_t seq, std::chrono::milliseconds budget, Rest& rest);
  //! The sequence number of the last task posted (0 when none).
  uint64_t LastPosted() const;
  //! Runs `query` on the worker thread and returns its result; nullopt when it did not finish
  //! within the budget (it still runs later) or the worker stopped.
  std::optional<nlohmann::json> Call(std::function<nlohmann::json()> query,
                                     std::chrono::milliseconds budget);
  //! What the running handler last reported; null at rest and until it reports.
  nlohmann::json Progress() const;
  //! Asks the thread to end: nested waits return false at once, queued tasks are dropped.
  void Stop();
  //! Stops and waits for the thread to end.
  void Join();

  // --- worker thread only -------------------------------------------------------------------
  //! Runs posted tasks until `done` holds (true), or the worker stops or no task arrived for
  //! `idleLimit` (false).
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds idleLimit);
  void ReportProgress(nlohmann::json progress);
  bool Stopping() const;
  bool OnWorkerThread() const { return std::this_thread::get_id() == workerId_.load(); }

 private:
  struct Queued {
    uint64_t seq;
    Task task;
  };

  void Main();
  //! Waits for the next task; nullopt when stopping or (with a limit) after `idleLimit`.
  std::optional<Queued> Take(std::optional<std::chrono::milliseconds> idleLimit);
  void PublishRest();
  void RunTask(Queued& queued);

  Hooks hooks_;
  mutable std::mutex mutex_;
  std::condition_variable taskArrived_;
  std::condition_variable rested_;
  std::deque<Queued> queue_;
  uint64_t nextSeq_ = 1;
  uint64_t takenSeq_ = 0;  //!< the last task the worker took
  Rest rest_;              //!< the last published rest
  bool restedOnce_ = false;
  bool stopping_ = false;
  nlohmann::json progress_;
  std::atomic<std::thread::id> workerId_;
  std::thread thread_;
};

}  // namespace quil::web
