// Users and passwords: argon2id hashes, the user table and the rights the server reads back.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/Users.h"

namespace quil::server::testing {
namespace {

TEST(PasswordTest, HashIsSaltedArgon2idAndVerifiesOnlyItsPassword) {
  const std::string hash = HashPassword("geheim1");
  EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u) << hash;
  EXPECT_NE(HashPassword("geheim1"), hash) << "every hash has its own salt";

  struct Case {
    std::string hash;
    std::string password;
    bool ok;
  };
  const Case cases[] = {
      {hash, "geheim1", true},
      {hash, "Geheim1", false},
      {hash, "geheim1 ", false},
      {hash, "", false},
      {"", "geheim1", false},
      {"$argon2id$v=19$m=65536,t=2,p=1$kapot", "geheim1", false},
      {std::string(500, 'x'), "geheim1", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VerifyPassword(c.hash, c.password), c.ok) << c.hash << " / " << c.password;
  }
}

class UserStoreTest : public ::testing::Test {
 protected:
  UserStoreTest() {
    users_.Add("anna", "Anna Peeters", "geheim1");
    users_.Add("beheer", "Beheerder", "beheer1", kUserAdministrator);
  }

  testdb::TestDatabase database_;
  std::string path_ = database_.location();
  std::unique_ptr<Database> db_ = database_.Open();
  UserStore users_{*db_};
};

TEST_F(UserStoreTest, AuthenticatesOnlyAMatchingLoginAndPassword) {
  auto anna = users_.Authenticate("anna", "geheim1");
  ASSERT_TRUE(anna);
  EXPECT_EQ(anna->login, "anna");
  EXPECT_EQ(anna->name, "Anna Peeters");
  EXPECT_EQ(anna->flags, 0);
  EXPECT_FALSE(users_.Authenticate("anna", "beheer1"));
  EXPECT_FALSE(users_.Authenticate("Anna", "geheim1")) << "logins are exact";
  EXPECT_FALSE(users_.Authenticate("niemand", "geheim1"));

  // A user without a password (as the demo data makes them) cannot log in with any password.
  db_->ExecuteScript("INSERT INTO GEBRUIKER (GB_ID, GB_LOGIN, GB_FLAGS) VALUES (50, 'leeg', 0)");
  EXPECT_FALSE(users_.HasPassword("leeg"));
  EXPECT_FALSE(users_.Authenticate("leeg", ""));
  users_.SetPassword("leeg", "nieuw12");
  EXPECT_TRUE(users_.HasPassword("leeg"));
  EXPECT_TRUE(users_.Authenticate("leeg", "nieuw12"));
}

TEST_F(UserStoreTest, RefusesUnusableUsersAndPasswords) {
  struct Case {
    std::string login;
    std::string password;
    std::string message;
  };
  const Case cases[] = {
      {"anna", "andere1", "Gebruiker 'anna' bestaat al"},
      {"piet", "abc", "Het wachtwoord moet minstens 4 tekens lang zijn"},
      {"piet", std::string(257, 'a'), "Het wachtwoord mag hoogstens 256 tekens lang zijn"},
      {"", "geheim1", "Een gebruikersnaam heeft 1 tot 50 tekens"},
      {std::string(51, 'p'), "geheim1", "Een gebruikersnaam heeft 1 tot 50 tekens"},
  };
  for (const Case& c : cases) {
    try {
      users_.Add(c.login, "", c.password);
      ADD_FAILURE() << "accepted " << c.login;
    } catch (const EClientError& error) {
      EXPECT_EQ(error.what(), c.message);
    }
  }
  EXPECT_THROW(users_.SetPassword("niemand", "geheim1"), EClientError);
  EXPECT_THROW(users_.SetPassword("anna", "abc"), EClientError);
  EXPECT_TRUE(users_.Authenticate("anna", "geheim1")) << "a refused change keeps the password";
}

TEST_F(UserStoreTest, NewUsersTakeIdsFromTheGenerator) {
  User piet = users_.Add("piet", "", "geheim2");
  User jan = users_.Add("jan", "Jan", "geheim3");
  EXPECT_EQ(jan.id, piet.id + 1);
  EXPECT_GT(piet.id, users_.Find("beheer")->id);
}

TEST_F(UserStoreTest, RightsAreWhatTheServerReadsBack) {
  const int anna = users_.Find("anna")->id;
  const int beheer = users_.Find("beheer")->id;
  auto rights = [&](int user, const char* formClass) {
    return AppServer::Open(path_, user)->GetFormRights(formClass);
  };
  users_.SetRights("anna", "TVWOKlasForm", 5);
  EXPECT_EQ(rights(anna, "TVWOKlasForm"), 5);
  users_.SetRights("anna", "tvwoklasform", 7);  // the same row, whatever the case
  EXPECT_EQ(rights(anna, "TVWOKlasForm"), 7);
  auto count = db_->Prepare("SELECT COUNT(*) FROM GEBRUIKERRECHT");
  ASSERT_TRUE(count->Step());
  EXPECT_EQ(count->ColumnInt64(0), 1);
  users_.SetRights("anna", "TVWOKlasForm", 0);
  EXPECT_EQ(rights(anna, "TVWOKlasForm"), 0);
  EXPECT_EQ(rights(beheer, "TVWOKlasForm"), 15) << "an administrator holds every right";

  EXPECT_THROW(users_.SetRights("anna", "TVWOKlasForm", 16), EClientError);
  EXPECT_THROW(users_.SetRights("anna", "TVWOKlasForm", -1), EClientError);
  EXPECT_THROW(users_.SetRights("anna", "", 1), EClientError);
  EXPECT_THROW(users_.SetRights("niemand", "TVWOKlasForm", 1), EClientError);
}

}  // namespace
}  // namespace quil::server::testing
