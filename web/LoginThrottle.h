// LoginThrottle: a brake on guessing passwords at the login.
//
// After `maxFailures` failed logins for one login name within `window`, further attempts for that
// name are refused for `lockout`, with the right password too; a successful login clears the
// name's count. Attempts for one name that run at the same time cannot slip past the limit
// together: while the failures so far and the attempts still being checked reach the limit, a
// new attempt waits for one of those to finish (checking a password takes a tenth of a second)
// and is then admitted or refused on what it learned. A user who logs in from many tabs at once
// therefore only waits a little.
//
// Names are counted whether or not such a user exists, and a refusal looks the same for both, so
// the brake tells nothing about which names exist. Only the first kMaxLoginBytes bytes of a name
// count (a login has at most 50), and at most `maxNames` names are remembered: when that is
// reached, the names with nothing left to remember go first, then the ones tried longest ago.
//
// The same brake serves per client address (AddressLoginLimits): there an attempt that cannot be
// admitted at once is refused rather than held (a flood must not hold the server's threads), and
// a success does not clear the count (one known password must not open the door for guessing
// others).
//
// In memory, per process; thread-safe. The clock is injectable for tests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quil::web {

struct LoginLimits {
  int maxFailures = 5;
  std::chrono::steady_clock::duration window = std::chrono::minutes(15);
  std::chrono::steady_clock::duration lockout = std::chrono::minutes(15);
  size_t maxNames = 10000;
  //! An attempt that would pass the limit together with those being checked waits for them;
  //! otherwise it is refused at once (Attempt::Busy).
  bool waitWhileChecking = true;
  //! A successful login forgets the key's failures and lockout.
  bool successClears = true;
};

//! The brake per client address: 20 failed logins within 15 minutes, whatever the names, refuse
//! the address for 15 minutes.
LoginLimits AddressLoginLimits();

class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = std::function<Clock::time_point()>;

  //! Longer names are counted by this prefix: no login is longer, so none shares a count.
  static constexpr size_t kMaxLoginBytes = 51;

  //! One login attempt. An admitted attempt reports how it ended; one that ends without a report
  //! (an error while checking) counts for nothing.
  class Attempt {
   public:
    Attempt(Attempt&& other) noexcept;
    Attempt& operator=(Attempt&&) = delete;
    ~Attempt();

    //! False: the name is refused now; do not check the password.
    bool Admitted() const { return admitted_; }
    //! Refused only because as many attempts as may still fail are being checked right now.
    bool Busy() const { return busy_; }
    void Failed();
    //! Forgets the name's failures and its lockout.
    void Succeeded();

   private:
    friend class LoginThrottle;
    Attempt(LoginThrottle* throttle, std::string key, bool busy = false)
        : throttle_(throttle), key_(std::move(key)), admitted_(throttle != nullptr), busy_(busy) {}

    LoginThrottle* throttle_;  //!< null when refused or reported
    std::string key_;
    bool admitted_;
    bool busy_;
  };

  explicit LoginThrottle(LoginLimits limits = {}, Now now = Clock::now);

  //! May wait for attempts of the same key that are being checked (see above).
  Attempt Begin(std::string_view login);
  //! The refusal the user reads ("Te veel mislukte aanmeldingen; probeer het over 15 minuten
  //! opnieuw.").
  std::string RefusalText() const;
  //! The names remembered now.
  size_t Size() const;

 private:
  struct Entry {
    std::vector<Clock::time_point> failures;  //!< within the window, oldest first
    Clock::time_point lockedUntil;            //!< refused before this moment
    Clock::time_point last;                   //!< the last attempt admitted
    int checking = 0;                         //!< admitted attempts not yet reported
  };
  using Map = std::map<std::string, Entry, std::less<>>;

  enum class Outcome { Failed, Succeeded, Unknown };
  void Finish(const std::string& key, Outcome outcome);
  //! True when the entry has nothing left that could refuse or hold an attempt.
  bool Forgettable(const Entry& entry, Clock::time_point now) const;
  //! Makes room for one more name.
  void MakeRoom(Clock::time_point now);

  const LoginLimits limits_;
  const Now now_;
  mutable std::mutex mutex_;
  std::condition_variable finished_;
  Map entries_;
};

}  // namespace quil::web
