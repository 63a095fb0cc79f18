// The session thread: tasks in order on one thread, rests with their state, nested waits for the
// browser that end on an answer, on silence and on stop, and the dialogs built on them.
#include "web/SessionWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>

#include "host/data/DMQuil.h"
#include "host/data/MemoryAppServer.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "web/BrowserDialogs.h"
#include "web/WebDialogs.h"

namespace quil::web {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

//! A worker whose state is a list of what its tasks did, plus its dialogs.
class WorkerTest : public ::testing::Test {
 protected:
  WorkerTest()
      : worker_({.start = [this] { dialogs_ = std::make_unique<BrowserDialogs>(worker_, limit_); },
                 .snapshot =
                     [this] {
                       return json{{"log", log_}, {"dialog", dialogs_->Pending()}};
                     },
                 .stop = [this] { dialogs_.reset(); }}) {}

  //! Posts a task and returns the state at the next rest.
  json Run(SessionWorker::Task task) {
    const uint64_t seq = worker_.Post(std::move(task));
    SessionWorker::Rest rest;
    EXPECT_EQ(worker_.WaitForRest(seq, 5s, rest), SessionWorker::WaitResult::Rested);
    return rest.state;
  }

  std::chrono::milliseconds limit_ = 5s;
  std::vector<std::string> log_;  // worker thread only
  std::unique_ptr<BrowserDialogs> dialogs_;
  SessionWorker worker_;
};

TEST_F(WorkerTest, TasksRunInOrderOnTheSessionThread) {
  std::atomic<std::thread::id> first, second;
  worker_.Post([&] { first = std::this_thread::get_id(); });
  for (int i = 0; i < 50; ++i) {
    worker_.Post([this, i] { log_.push_back(std::to_string(i)); });
  }
  json state = Run([&] { second = std::this_thread::get_id(); });
  EXPECT_EQ(first.load(), second.load());
  EXPECT_NE(first.load(), std::this_thread::get_id());
  ASSERT_EQ(state["log"].size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(state["log"][i], std::to_string(i));
}

TEST_F(WorkerTest, ALongTaskIsBusyWithItsProgressUntilItRests) {
  std::atomic<bool> release = false;
  const uint64_t seq = worker_.Post([&] {
    worker_.ReportProgress({{"stap", 3}, {"van", 10}});
    while (!release) std::this_thread::sleep_for(1ms);
    log_.push_back("klaar");
  });
  SessionWorker::Rest rest;
  EXPECT_EQ(worker_.WaitForRest(seq, 50ms, rest), SessionWorker::WaitResult::Busy);
  EXPECT_EQ(worker_.Progress(), (json{{"stap", 3}, {"van", 10}}));
  release = true;
  EXPECT_EQ(worker_.WaitForRest(seq, 5s, rest), SessionWorker::WaitResult::Rested);
  EXPECT_EQ(rest.state["log"], json::array({"klaar"}));
  EXPECT_TRUE(worker_.Progress().is_null()) << "progress belongs to the task that reported it";
}

TEST_F(WorkerTest, AQuestionRestsWithTheDialogAndGoesOnWithTheAnswer) {
  json state = Run([this] {
    auto answer = dialogs_->Ask({{"text", "Doorgaan?"}});
    log_.push_back(answer ? answer->at("button").get<std::string>() : "geen");
  });
  ASSERT_TRUE(state["dialog"].is_object()) << state;
  EXPECT_EQ(state["dialog"]["text"], "Doorgaan?");
  const int64_t id = state["dialog"]["id"];

  // A stale answer changes nothing; the right one ends the wait.
  state = Run([this, id] { EXPECT_FALSE(dialogs_->Answer(id + 1, {{"button", "Nee"}})); });
  EXPECT_EQ(state["dialog"]["id"], id);
  state = Run([this, id] { EXPECT_TRUE(dialogs_->Answer(id, {{"button", "Ja"}})); });
  EXPECT_TRUE(state["dialog"].is_null());
  EXPECT_EQ(state["log"], json::array({"Ja"}));
}

TEST_F(WorkerTest, OnlyTheInnermostQuestionCanBeAnswered) {
  json state = Run([this] {
    auto outer = dialogs_->Ask({{"text", "buiten"}});
    log_.push_back("buiten: " + (outer ? outer->at("button").get<std::string>() : "geen"));
  });
  const int64_t outer = state["dialog"]["id"];
  state = Run([this] {
    auto inner = dialogs_->Ask({{"text", "binnen"}});
    log_.push_back("binnen: " + (inner ? inner->at("button").get<std::string>() : "geen"));
  });
  const int64_t inner = state["dialog"]["id"];
  EXPECT_EQ(state["dialog"]["text"], "binnen");
  state = Run([this, outer] { EXPECT_FALSE(dialogs_->Answer(outer, {{"button", "OK"}})); });
  state = Run([this, inner] { dialogs_->Answer(inner, {{"button", "Nee"}}); });
  EXPECT_EQ(state["dialog"]["text"], "buiten");
  state = Run([this, outer] { dialogs_->Answer(outer, {{"button", "Ja"}}); });
  EXPECT_EQ(state["log"], json::array({"binnen: Nee", "buiten: Ja"}));
  EXPECT_TRUE(state["dialog"].is_null());
}

TEST(SessionWorkerTest, SilenceEndsAWaitAsCancel) {
  std::unique_ptr<BrowserDialogs> dialogs;
  std::vector<std::string> log;
  SessionWorker worker({.start = [&] { dialogs = std::make_unique<BrowserDialogs>(worker, 100ms); },
                        .snapshot =
                            [&] {
                              return json{{"log", log}};
                            },
                        .stop = [&] { dialogs.reset(); }});
  const auto start = std::chrono::steady_clock::now();
  worker.Post([&] { log.push_back(dialogs->Ask({{"text", "Iemand daar?"}}) ? "ja" : "geen"); });
  // Looking at the state is not an answer and does not keep the question alive.
  json state;
  while (std::chrono::steady_clock::now() - start < 5s) {
    SessionWorker::Rest rest;
    worker.WaitForRest(worker.LastPosted(), 1s, rest);
    state = rest.state;
    if (!state["log"].empty()) break;
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(state["log"], json::array({"geen"}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(WorkerTest, StoppingEndsAWaitingQuestionAtOnce) {
  std::atomic<bool> cancelled = false;
  json state = Run([&] { cancelled = !dialogs_->Ask({{"text", "Wachten"}}).has_value(); });
  ASSERT_TRUE(state["dialog"].is_object());
  const auto start = std::chrono::steady_clock::now();
  worker_.Join();
  EXPECT_TRUE(cancelled);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_EQ(worker_.Post([] {}), 0u) << "a stopped worker takes no tasks";
  SessionWorker::Rest rest;
  EXPECT_EQ(worker_.WaitForRest(1, 10ms, rest), SessionWorker::WaitResult::Stopped);
}

TEST_F(WorkerTest, CallReturnsTheQueryResultOrItsError) {
  EXPECT_EQ(worker_.Call([] { return json{{"a", 1}}; }, 5s), (json{{"a", 1}}));
  EXPECT_THROW(worker_.Call([]() -> json { throw std::invalid_argument("fout"); }, 5s),
               std::invalid_argument);
  // The flag outlives this body: the worker may look at it once more after the test returns.
  auto release = std::make_shared<std::atomic<bool>>(false);
  worker_.Post([release] {
    while (!*release) std::this_thread::sleep_for(1ms);
  });
  EXPECT_FALSE(worker_.Call([] { return json(1); }, 30ms)) << "busy: not within the budget";
  *release = true;
}

// Whatever leaves a nested loop by an exception (here the state of a rest, which throws what no
// handler expects) takes its question and its modal form off the stacks: the outer question is
// the one shown and answered again, and no form stays modal.
TEST(SessionWorkerTest, TheDialogStacksAreRestoredWhenANestedLoopThrows) {
  MemoryAppServer server;
  TDMQuil connection{server};
  ScriptedDialogs unused;
  TQuilApplication app{connection, unused};
  TQuilForm form(app, "TDialoog");

  bool throwAtRest = false;  // worker thread only
  std::unique_ptr<BrowserDialogs> browser;
  std::unique_ptr<WebDialogs> dialogs;
  std::vector<std::string> log;
  SessionWorker worker({.start =
                            [&] {
                              browser = std::make_unique<BrowserDialogs>(worker, 5s);
                              dialogs = std::make_unique<WebDialogs>(*browser);
                            },
                        .snapshot =
                            [&] {
                              if (throwAtRest) {
                                throwAtRest = false;
                                throw 42;  // not a std::exception: nothing on the way catches it
                              }
                              return json{{"dialog", browser->Pending()},
                                          {"modal", dialogs->ModalForms().size()},
                                          {"log", log}};
                            },
                        .stop =
                            [&] {
                              dialogs.reset();
                              browser.reset();
                            }});
  auto run = [&](SessionWorker::Task task) {
    SessionWorker::Rest rest;
    EXPECT_EQ(worker.WaitForRest(worker.Post(std::move(task)), 5s, rest),
              SessionWorker::WaitResult::Rested);
    return rest.state;
  };

  json state = run([&] {
    auto answer = browser->Ask({{"text", "buiten"}});
    log.push_back(answer ? answer->at("button").get<std::string>() : "geen");
  });
  const int64_t outer = state["dialog"]["id"];
  // An inner question and a modal form, each left by the exception of their loop's next rest.
  for (auto& inner : std::vector<SessionWorker::Task>{[&] {
                                                        throwAtRest = true;
                                                        browser->Ask({{"text", "binnen"}});
                                                        log.push_back("niet bereikt");
                                                      },
                                                      [&] {
                                                        throwAtRest = true;
                                                        dialogs->ShowModal(form);
                                                        log.push_back("niet bereikt");
                                                      }}) {
    state = run(inner);
    EXPECT_EQ(state["dialog"]["id"], outer) << state;
    EXPECT_EQ(state["modal"], 0);
  }
  state = run([&] { EXPECT_TRUE(browser->Answer(outer, {{"button", "Ja"}})); });
  EXPECT_TRUE(state["dialog"].is_null());
  EXPECT_EQ(state["log"], json::array({"Ja"}));
  worker.Stop();
  worker.Join();
}

}  // namespace
}  // namespace quil::web
