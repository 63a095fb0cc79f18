// The users of a kavel database and their passwords: the server's user directory.
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

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/data/UserDirectory.h"
#include "server/db/Database.h"

namespace quil::server {

//! An argon2id hash string of the password (interactive limits).
std::string HashPassword(std::string_view password);
//! True when the password matches the hash; false for a malformed hash.
bool VerifyPassword(std::string_view hash, std::string_view password);

class UserStore final : public IUserDirectory {
 public:
  explicit UserStore(Database& db) : db_(db) {}
  //! A store that owns its connection.
  explicit UserStore(std::unique_ptr<Database> db) : owned_(std::move(db)), db_(*owned_) {}

  std::optional<User> Find(std::string_view login) override;
  std::optional<User> Authenticate(std::string_view login, std::string_view password) override;
  User Add(std::string_view login, std::string_view name, std::string_view password,
           int flags = 0) override;
  void SetPassword(std::string_view login, std::string_view password) override;
  void SetRights(std::string_view login, std::string_view formClass, int bits) override;
  bool HasPassword(std::string_view login) override;

 private:
  User Require(std::string_view login);
  int64_t NextId(std::string_view generator);

  std::unique_ptr<Database> owned_;
  Database& db_;
};

//! The user directory of a site's database, on a connection of its own (the file must exist).
std::unique_ptr<IUserDirectory> OpenUserDirectory(const std::string& databasePath);

//! Client error with the reason when a password may not be used.
void CheckPasswordRules(std::string_view password);

}  // namespace quil::server
