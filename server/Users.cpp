#include "server/Users.h"

#include <sodium.h>

#include <cassert>
#include <optional>
#include <semaphore>
#include <stdexcept>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"

namespace quil::server {

namespace {

constexpr size_t kMinPasswordLength = 4;
constexpr size_t kMaxPasswordLength = 256;

void InitSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium kon niet starten");
}

//! Each hash takes crypto_pwhash_MEMLIMIT_INTERACTIVE bytes; two at once is plenty for a site.
std::counting_semaphore<2>& HashSlots() {
  static std::counting_semaphore<2> slots(2);
  return slots;
}

class SlotGuard {
 public:
  SlotGuard() { HashSlots().acquire(); }
  ~SlotGuard() { HashSlots().release(); }
  SlotGuard(const SlotGuard&) = delete;
  SlotGuard& operator=(const SlotGuard&) = delete;
};

const std::string& DummyHash() {
  static const std::string hash = HashPassword("kavel-geen-gebruiker");
  return hash;
}

User ReadUser(const Statement& stmt) {
  User user;
  user.id = static_cast<int>(stmt.ColumnInt64(0));
  user.login = std::string(stmt.ColumnText(1));
  user.name = std::string(stmt.ColumnText(2));
  user.flags = static_cast<int>(stmt.ColumnInt64(3));
  return user;
}

}  // namespace

std::string HashPassword(std::string_view password) {
  InitSodium();
  char out[crypto_pwhash_STRBYTES];
  SlotGuard slot;
  if (crypto_pwhash_str_alg(out, password.data(), password.size(),
                            crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                            crypto_pwhash_ALG_ARGON2ID13) != 0) {
    throw std::runtime_error("Onvoldoende geheugen om een wachtwoord te versleutelen");
  }
  return out;
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
  InitSodium();
  // crypto_pwhash_str_verify reads a NUL-terminated string of at most STRBYTES.
  if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
  std::string terminated(hash);
  SlotGuard slot;
  return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

void CheckPasswordRules(std::string_view password) {
  if (password.size() < kMinPasswordLength) {
    RaiseClientError(Format("Het wachtwoord moet minstens %d tekens lang zijn",
                            static_cast<int>(kMinPasswordLength)));
  }
  if (password.size() > kMaxPasswordLength) {
    RaiseClientError(Format("Het wachtwoord mag hoogstens %d tekens lang zijn",
                            static_cast<int>(kMaxPasswordLength)));
  }
}

std::optional<User> UserStore::Find(std::string_view login) {
  auto stmt = db_.Prepare(
      "SELECT GB_ID, GB_LOGIN, COALESCE(GB_NAAM, ''), GB_FLAGS FROM GEBRUIKER "
      "WHERE GB_LOGIN = :LOGIN");
  stmt->BindText(stmt->ParameterIndex("LOGIN"), login);
  if (!stmt->Step()) return std::nullopt;
  return ReadUser(*stmt);
}

std::optional<User> UserStore::Authenticate(std::string_view login, std::string_view password) {
  auto stmt = db_.Prepare(
      "SELECT GB_ID, GB_LOGIN, COALESCE(GB_NAAM, ''), GB_FLAGS, GB_WACHTWOORD FROM GEBRUIKER "
      "WHERE GB_LOGIN = :LOGIN");
  stmt->BindText(stmt->ParameterIndex("LOGIN"), login);
  if (!stmt->Step() || stmt->ColumnStorage(4) != StorageClass::Text) {
    VerifyPassword(DummyHash(), password);  // as slow as a wrong password
    return std::nullopt;
  }
  User user = ReadUser(*stmt);
  std::string hash(stmt->ColumnText(4));
  if (!VerifyPassword(hash, password)) return std::nullopt;
  return user;
}

User UserStore::Add(std::string_view login, std::string_view name, std::string_view password,
                    int flags) {
  if (login.empty() || login.size() > 50) {
    RaiseClientError("Een gebruikersnaam heeft 1 tot 50 tekens");
  }
  CheckPasswordRules(password);
  if (Find(login)) RaiseClientError(Format("Gebruiker '%s' bestaat al", std::string(login)));
  const std::string hash = HashPassword(password);
  TransactionGuard transaction(db_);
  User user{static_cast<int>(NextId("GEBRUIKER")), std::string(login), std::string(name), flags};
  auto stmt = db_.Prepare(
      "INSERT INTO GEBRUIKER (GB_ID, GB_LOGIN, GB_NAAM, GB_WACHTWOORD, GB_FLAGS) "
      "VALUES (:ID, :LOGIN, :NAAM, :HASH, :FLAGS)");
  stmt->BindInt64(stmt->ParameterIndex("ID"), user.id);
  stmt->BindText(stmt->ParameterIndex("LOGIN"), login);
  if (name.empty()) {
    stmt->BindNull(stmt->ParameterIndex("NAAM"));
  } else {
    stmt->BindText(stmt->ParameterIndex("NAAM"), name);
  }
  stmt->BindText(stmt->ParameterIndex("HASH"), hash);
  stmt->BindInt64(stmt->ParameterIndex("FLAGS"), flags);
  stmt->Step();
  transaction.Commit();
  return user;
}

void UserStore::SetPassword(std::string_view login, std::string_view password) {
  CheckPasswordRules(password);
  User user = Require(login);
  const std::string hash = HashPassword(password);
  auto stmt = db_.Prepare("UPDATE GEBRUIKER SET GB_WACHTWOORD = :HASH WHERE GB_ID = :ID");
  stmt->BindText(stmt->ParameterIndex("HASH"), hash);
  stmt->BindInt64(stmt->ParameterIndex("ID"), user.id);
  stmt->Step();
}

void UserStore::SetRights(std::string_view login, std::string_view formClass, int bits) {
  if (bits < 0 || bits > 15) RaiseClientError("Rechten zijn een getal van 0 tot 15");
  if (formClass.empty()) RaiseClientError("Geef de klasse van het scherm op");
  User user = Require(login);
  TransactionGuard transaction(db_);
  // Rights are looked up without regard to case; the row keeps the spelling first given.
  auto existing = db_.Prepare(
      "SELECT GR_ID FROM GEBRUIKERRECHT WHERE GR_GEBRUIKER_FK = :GEBRUIKER "
      "AND UPPER(GR_FORMKLASSE) = :KLASSE");
  existing->BindInt64(existing->ParameterIndex("GEBRUIKER"), user.id);
  existing->BindText(existing->ParameterIndex("KLASSE"), UpperCaseAscii(formClass));
  std::optional<int64_t> rowId;
  if (existing->Step()) rowId = existing->ColumnInt64(0);
  existing->Reset();

  std::unique_ptr<Statement> stmt;
  if (bits == 0) {
    if (!rowId) return;  // nothing to remove; the guard rolls the empty transaction back
    stmt = db_.Prepare("DELETE FROM GEBRUIKERRECHT WHERE GR_ID = :ID");
    stmt->BindInt64(stmt->ParameterIndex("ID"), *rowId);
  } else if (rowId) {
    stmt = db_.Prepare("UPDATE GEBRUIKERRECHT SET GR_RECHTEN = :BITS WHERE GR_ID = :ID");
    stmt->BindInt64(stmt->ParameterIndex("ID"), *rowId);
    stmt->BindInt64(stmt->ParameterIndex("BITS"), bits);
  } else {
    stmt = db_.Prepare(
        "INSERT INTO GEBRUIKERRECHT (GR_ID, GR_GEBRUIKER_FK, GR_FORMKLASSE, GR_RECHTEN) "
        "VALUES (:ID, :GEBRUIKER, :KLASSE, :BITS)");
    stmt->BindInt64(stmt->ParameterIndex("ID"), NextId("GEBRUIKERRECHT"));
    stmt->BindInt64(stmt->ParameterIndex("GEBRUIKER"), user.id);
    stmt->BindText(stmt->ParameterIndex("KLASSE"), formClass);
    stmt->BindInt64(stmt->ParameterIndex("BITS"), bits);
  }
  stmt->Step();
  transaction.Commit();
}

bool UserStore::HasPassword(std::string_view login) {
  auto stmt = db_.Prepare(
      "SELECT 1 FROM GEBRUIKER WHERE GB_LOGIN = :LOGIN AND GB_WACHTWOORD IS NOT NULL "
      "AND GB_WACHTWOORD <> ''");
  stmt->BindText(stmt->ParameterIndex("LOGIN"), login);
  return stmt->Step();
}

User UserStore::Require(std::string_view login) {
  auto user = Find(login);
  if (!user) RaiseClientError(Format("Gebruiker '%s' bestaat niet", std::string(login)));
  return *user;
}

std::unique_ptr<IUserDirectory> OpenUserDirectory(const std::string& databasePath) {
  return std::make_unique<UserStore>(OpenDatabase(databasePath));
}

int64_t UserStore::NextId(std::string_view generator) {
  assert(db_.InTransaction() && "a new id is taken in the transaction that uses it");
  std::optional<int64_t> id = db_.NextGeneratorValue(generator);
  if (!id) throw std::logic_error("generator missing: " + std::string(generator));
  return *id;
}

}  // namespace quil::server
