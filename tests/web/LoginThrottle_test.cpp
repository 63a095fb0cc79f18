// The brake on failed logins, on a clock the tests move: counting within the window, the lockout
// and its end, a success that clears, names kept apart, the bound on remembered names, and
// attempts that run at once.
#include "web/LoginThrottle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace quil::web {
namespace {

using std::chrono::minutes;
using std::chrono::seconds;

class FakeClock {
 public:
  LoginThrottle::Now Now() {
    return [this] {
      return LoginThrottle::Clock::time_point(LoginThrottle::Clock::duration(ticks_.load()));
    };
  }
  void Advance(LoginThrottle::Clock::duration by) { ticks_ += by.count(); }

 private:
  std::atomic<LoginThrottle::Clock::rep> ticks_{1'000'000};
};

//! One login attempt `after` the previous one, with the right password or a wrong one.
struct Attempt {
  LoginThrottle::Clock::duration after;
  std::string name;
  bool right;
};

//! The outcome of each attempt: 'A' admitted, 'R' refused.
std::string Outcomes(const std::vector<Attempt>& attempts, LoginLimits limits = {}) {
  FakeClock clock;
  LoginThrottle throttle(limits, clock.Now());
  std::string outcomes;
  for (const Attempt& attempt : attempts) {
    clock.Advance(attempt.after);
    LoginThrottle::Attempt begun = throttle.Begin(attempt.name);
    outcomes += begun.Admitted() ? 'A' : 'R';
    if (attempt.right) {
      begun.Succeeded();
    } else {
      begun.Failed();
    }
  }
  return outcomes;
}

std::vector<Attempt> Wrong(int count, const std::string& name,
                           LoginThrottle::Clock::duration apart = seconds(10)) {
  return std::vector<Attempt>(count, {apart, name, false});
}

std::vector<Attempt> operator+(std::vector<Attempt> a, const std::vector<Attempt>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(LoginThrottleTest, FiveFailuresWithinTheWindowRefuseTheNameForTheLockout) {
  const std::string longName(60, 'x');
  const struct {
    const char* scenario;
    std::vector<Attempt> attempts;
    const char* outcomes;
  } cases[] = {
      {"the sixth is refused, the right password too",
       Wrong(5, "anna") + std::vector<Attempt>{{seconds(1), "anna", true}}, "AAAAAR"},
      {"refused until the lockout has passed",
       Wrong(5, "anna") + std::vector<Attempt>{{minutes(15) - seconds(1), "anna", true},
                                               {seconds(1), "anna", true},
                                               {seconds(1), "anna", true}},
       "AAAAARAA"},
      {"after the lockout, five failures again",
       Wrong(5, "anna") + Wrong(1, "anna", minutes(15)) + Wrong(4, "anna") + Wrong(1, "anna"),
       "AAAAAAAAAAR"},
      {"failures older than the window do not count",
       Wrong(4, "anna") + Wrong(1, "anna", minutes(15)) + Wrong(3, "anna") + Wrong(1, "anna"),
       "AAAAAAAAA"},
      {"a failure just inside the window counts",
       Wrong(1, "anna") + Wrong(4, "anna", minutes(3) + seconds(44)) + Wrong(1, "anna"), "AAAAAR"},
      {"a success clears the count",
       Wrong(4, "anna") + std::vector<Attempt>{{seconds(1), "anna", true}} + Wrong(4, "anna") +
           std::vector<Attempt>{{seconds(1), "anna", true}},
       "AAAAAAAAAA"},
      {"names are counted apart, existing or not",
       Wrong(5, "anna") + Wrong(5, "niemand") +
           std::vector<Attempt>{{seconds(1), "beheer", true}, {seconds(1), "Anna", true}} +
           Wrong(1, "niemand") + Wrong(1, "anna"),
       "AAAAAAAAAAAARR"},
      {"names longer than any login share one count",
       Wrong(3, longName) + Wrong(2, longName + "yz") + Wrong(1, longName.substr(0, 50)) +
           Wrong(1, longName),
       "AAAAAAR"},
  };
  for (const auto& c : cases) EXPECT_EQ(Outcomes(c.attempts), c.outcomes) << c.scenario;
}

TEST(LoginThrottleTest, TheRefusalNamesTheLockout) {
  EXPECT_EQ(LoginThrottle().RefusalText(),
            "Te veel mislukte aanmeldingen; probeer het over 15 minuten opnieuw.");
}

TEST(LoginThrottleTest, RemembersABoundedNumberOfNames) {
  FakeClock clock;
  LoginThrottle throttle({.maxNames = 3}, clock.Now());
  auto fail = [&](const std::string& name) {
    LoginThrottle::Attempt attempt = throttle.Begin(name);
    attempt.Failed();
    return attempt.Admitted();
  };
  auto lock = [&](const std::string& name) {
    for (int i = 0; i < 5; ++i) fail(name);
  };
  fail("oud");  // one failure, forgettable once the window has passed
  clock.Advance(minutes(10));
  lock("a");
  clock.Advance(minutes(1));
  lock("b");
  clock.Advance(minutes(5));
  // "oud" goes first although "a" and "b" were tried before the new name: they are still refused.
  EXPECT_TRUE(fail("nieuw"));
  EXPECT_EQ(throttle.Size(), 3u);
  EXPECT_FALSE(fail("a"));
  EXPECT_FALSE(fail("b"));

  // With nothing forgettable, the name tried longest ago goes.
  EXPECT_TRUE(fail("nog een"));
  EXPECT_EQ(throttle.Size(), 3u);
  EXPECT_TRUE(fail("a")) << "forgotten to make room";
  EXPECT_EQ(throttle.Size(), 3u);
}

TEST(LoginThrottleTest, AttemptsAtTheSameTimeCannotPassTheLimitTogether) {
  // Sixteen wrong passwords at once: five are checked. Sixteen right ones: all get in.
  for (const bool right : {false, true}) {
    FakeClock clock;
    LoginThrottle throttle({}, clock.Now());
    std::atomic<int> admitted = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 16; ++i) {
      threads.emplace_back([&] {
        LoginThrottle::Attempt attempt = throttle.Begin("anna");
        if (attempt.Admitted()) ++admitted;
        if (right) {
          attempt.Succeeded();
        } else {
          attempt.Failed();
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(admitted, right ? 16 : 5);
    EXPECT_EQ(throttle.Size(), right ? 0u : 1u);
  }
}

TEST(LoginThrottleTest, AnAttemptThatEndsWithoutAnOutcomeCountsForNothing) {
  FakeClock clock;
  LoginThrottle throttle({}, clock.Now());
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(throttle.Begin("anna").Admitted());
  EXPECT_EQ(throttle.Size(), 0u);
}

// Per address: a known password does not reset the count, and an attempt that would pass the
// limit with those being checked is refused at once instead of holding a thread.
TEST(LoginThrottleTest, AnAddressIsLimitedWithoutWaitingAndASuccessDoesNotClearIt) {
  const LoginLimits limits = AddressLoginLimits();
  std::vector<Attempt> flood =
      Wrong(10, "10.0.0.9") + std::vector<Attempt>{{seconds(1), "10.0.0.9", true}} +
      Wrong(10, "10.0.0.9") + std::vector<Attempt>{{seconds(1), "10.0.0.9", true}};
  EXPECT_EQ(Outcomes(flood, limits), std::string(21, 'A') + "R");

  FakeClock clock;
  LoginThrottle throttle(limits, clock.Now());
  std::vector<LoginThrottle::Attempt> checking;
  for (int i = 0; i < limits.maxFailures; ++i) checking.push_back(throttle.Begin("10.0.0.9"));
  LoginThrottle::Attempt extra = throttle.Begin("10.0.0.9");
  EXPECT_FALSE(extra.Admitted());
  EXPECT_TRUE(extra.Busy());
  EXPECT_TRUE(throttle.Begin("10.0.0.10").Admitted()) << "other addresses are not held up";
  checking.back().Succeeded();
  EXPECT_TRUE(throttle.Begin("10.0.0.9").Admitted());
}

}  // namespace
}  // namespace quil::web
