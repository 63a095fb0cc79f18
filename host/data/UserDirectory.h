// IUserDirectory: the users of a site, their passwords and their rights per screen, as the
// application server keeps them.
//
// A login checks a password here before any session exists; the program's `kavel user` command
// manages users through the same door. Passwords never come back: only whether one matches.
// Errors the user must see (a login taken, a password too short) arrive as EClientError. One
// instance is used by one thread at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quil {

inline constexpr int kUserAdministrator = 1;  //!< flag: every right on every screen

struct User {
  int id = 0;
  std::string login;
  std::string name;
  int flags = 0;
};

class IUserDirectory {
 public:
  virtual ~IUserDirectory() = default;

  virtual std::optional<User> Find(std::string_view login) = 0;
  //! The user whose login and password match; nullopt otherwise (no hint which one was wrong,
  //! and as slow for an unknown login as for a wrong password).
  virtual std::optional<User> Authenticate(std::string_view login, std::string_view password) = 0;
  //! Adds a user with a password. Client errors: login taken, login or password unusable.
  virtual User Add(std::string_view login, std::string_view name, std::string_view password,
                   int flags = 0) = 0;
  //! Client error when there is no such user or the password is unusable.
  virtual void SetPassword(std::string_view login, std::string_view password) = 0;
  //! Sets the right bits (0..15) of a user on a screen class; 0 takes them all away.
  virtual void SetRights(std::string_view login, std::string_view formClass, int bits) = 0;
  //! True when the user has a password.
  virtual bool HasPassword(std::string_view login) = 0;
};

}  // namespace quil
