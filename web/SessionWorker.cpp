#include "web/SessionWorker.h"

#include <cassert>
#include <future>
#include <iostream>

namespace quil::web {

SessionWorker::SessionWorker(Hooks hooks) : hooks_(std::move(hooks)) {
  thread_ = std::thread([this] { Main(); });
}

SessionWorker::~SessionWorker() {
  Join();
}

void SessionWorker::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  taskArrived_.notify_all();
  rested_.notify_all();
}

void SessionWorker::Join() {
  Stop();
  if (thread_.joinable()) {
    assert(!OnWorkerThread() && "a session cannot wait for its own thread");
    thread_.join();
  }
}

uint64_t SessionWorker::Post(Task task) {
  uint64_t seq;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return 0;
    seq = nextSeq_++;
    queue_.push_back({seq, std::move(task)});
  }
  taskArrived_.notify_one();
  return seq;
}

uint64_t SessionWorker::LastPosted() const {
  std::lock_guard lock(mutex_);
  return nextSeq_ - 1;
}

SessionWorker::WaitResult SessionWorker::WaitForRest(uint64_t seq, std::chrono::milliseconds budget,
                                                     Rest& rest) {
  std::unique_lock lock(mutex_);
  const bool rested = rested_.wait_for(
      lock, budget, [&] { return stopping_ || (restedOnce_ && rest_.seq >= seq); });
  rest = rest_;
  if (stopping_) return WaitResult::Stopped;
  return rested ? WaitResult::Rested : WaitResult::Busy;
}

std::optional<nlohmann::json> SessionWorker::Call(std::function<nlohmann::json()> query,
                                                  std::chrono::milliseconds budget) {
  // The promise is shared with the task: a caller that gives up leaves the task a live target.
  auto promise = std::make_shared<std::promise<nlohmann::json>>();
  auto future = promise->get_future();
  const uint64_t seq = Post([promise, query = std::move(query)] {
    try {
      promise->set_value(query());
    } catch (...) {
      promise->set_exception(std::current_exception());
    }
  });
  if (seq == 0) return std::nullopt;
  if (future.wait_for(budget) != std::future_status::ready) return std::nullopt;
  return future.get();  // rethrows what the query threw
}

nlohmann::json SessionWorker::Progress() const {
  std::lock_guard lock(mutex_);
  return progress_;
}

void SessionWorker::ReportProgress(nlohmann::json progress) {
  assert(OnWorkerThread());
  std::lock_guard lock(mutex_);
  progress_ = std::move(progress);
}

bool SessionWorker::Stopping() const {
  std::lock_guard lock(mutex_);
  return stopping_;
}

bool SessionWorker::RunUntil(const std::function<bool()>& done,
                             std::chrono::milliseconds idleLimit) {
  assert(OnWorkerThread() && "nested loops run on the session thread");
  while (!done()) {
    auto queued = Take(idleLimit);
    if (!queued) return false;
    RunTask(*queued);
  }
  return true;
}

void SessionWorker::Main() {
  workerId_ = std::this_thread::get_id();
  try {
    if (hooks_.start) hooks_.start();
  } catch (const std::exception& error) {
    std::cerr << "kavel: sessie kon niet starten: " << error.what() << "\n";
    Stop();
  }
  while (auto queued = Take(std::nullopt)) RunTask(*queued);
  if (hooks_.stop) hooks_.stop();
}

std::optional<SessionWorker::Queued> SessionWorker::Take(
    std::optional<std::chrono::milliseconds> idleLimit) {
  std::unique_lock lock(mutex_);
  if (queue_.empty() && !stopping_) {
    lock.unlock();
    PublishRest();
    lock.lock();
  }
  auto ready = [this] { return stopping_ || !queue_.empty(); };
  if (!idleLimit) {
    taskArrived_.wait(lock, ready);
  } else if (!taskArrived_.wait_for(lock, *idleLimit, ready)) {
    return std::nullopt;
  }
  if (stopping_) return std::nullopt;
  Queued queued = std::move(queue_.front());
  queue_.pop_front();
  takenSeq_ = queued.seq;
  progress_ = nullptr;
  return queued;
}

void SessionWorker::PublishRest() {
  nlohmann::json state;
  if (hooks_.snapshot) {
    try {
      state = hooks_.snapshot();
    } catch (const std::exception& error) {
      state = {{"fout", error.what()}};
    }
  }
  {
    std::lock_guard lock(mutex_);
    rest_.seq = takenSeq_;
    rest_.state = std::move(state);
    restedOnce_ = true;
    progress_ = nullptr;
  }
  rested_.notify_all();
}

void SessionWorker::RunTask(Queued& queued) {
  // Tasks handle what they expect themselves; this only keeps the session alive.
  try {
    queued.task();
  } catch (const std::exception& error) {
    std::cerr << "kavel: onverwachte fout in een sessie: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "kavel: onverwachte fout in een sessie\n";
  }
}

}  // namespace quil::web
