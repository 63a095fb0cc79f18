// The users of a kavel database and their passwords.
//
// Users live in GEBRUIKER (login, name, password hash, flags; flag bit 0 = administrator, who holds
// every right) and their screen rights in GEBRUIKERRECHT (one row of right bits per screen class).
// Passwords are stored only as libsodium argon2id strings (crypto_pwhash_str with the interactive
// limits), which carry their own salt and cost parameters, so a hash made with other limits later
// still verifies. A user without a hash cannot log in.
//
// Hashing costs about 64 MiB and a tenth of a second; at most two run at once in a process, so a
// burst of logins queues instead of exhausting memory. A login for an unknown user verifies against
// a dummy hash, so the answer takes as long as for a wrong password.
//
// UserStore works on one connection and is used by one thread at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "server/db/Database.h"

namespace quil::web {

inline constexpr int kUserAdministrator = 1;  //!< GB_FLAGS bit: every right on every screen

struct User {
  int id = 0;
  std::string login;
  std::string name;
  int flags = 0;
};

//! An argon2id hash string of the password (interactive limits).
std::string HashPassword(std::string_view password);
//! True when the password matches the hash; false for a malformed hash.
bool VerifyPassword(std::string_view hash, std::string_view password);

class UserStore {
 public:
  explicit UserStore(server::Database& db) : db_(db) {}

  std::optional<User> Find(std::string_view login);
  //! The user whose login and password match; nullopt otherwise (no hint which one was wrong).
  std::optional<User> Authenticate(std::string_view login, std::string_view password);
  //! Adds a user with a password. Client errors: login taken, login or password unusable.
  User Add(std::string_view login, std::string_view name, std::string_view password, int flags = 0);
  //! Client error when there is no such user or the password is unusable.
  void SetPassword(std::string_view login, std::string_view password);
  //! Sets the right bits (0..15) of a user on a screen class; 0 removes the row.
  void SetRights(std::string_view login, std::string_view formClass, int bits);
  //! True when the user has a password hash.
  bool HasPassword(std::string_view login);

 private:
  User Require(std::string_view login);
  int64_t NextId(std::string_view generator);

  server::Database& db_;
};

//! Client error with the reason when a password may not be used.
void CheckPasswordRules(std::string_view password);

}  // namespace quil::web
