// A session killed with SIGKILL while it stores the standard absence codes in one apply: the
// database holds all of the codes or none of them, and stays sound. The session runs in its own
// process (tests/tools/ApplyUntilKilled.cpp), which stops at the moment the test kills it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "common/TestDatabase.h"
#include "server/db/Database.h"

extern char** environ;

namespace kavel::testing {
namespace {

class KilledApplyTest : public ::testing::Test {
 protected:
  //! A demo site whose institutions have no absence codes yet; the id of its administrator.
  KilledApplyTest() {
    auto db = database_.Open();
    db->ExecuteScript("DELETE FROM VWOAFWEZIGHEIDSCODE");
    auto admin = db->Prepare("SELECT GB_ID FROM GEBRUIKER WHERE GB_FLAGS = 1 ORDER BY GB_ID");
    EXPECT_TRUE(admin->Step());
    user_ = std::to_string(admin->ColumnInt64(0));
  }

  //! Runs the session until it stops `where` ("middle", "committed"), kills it with SIGKILL and
  //! returns the line it wrote when it stopped.
  std::string KillWhenStopped(const std::string& where) {
    int out[2];
    EXPECT_EQ(pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = KAVEL_APPLY_UNTIL_KILLED;
    std::string location = database_.location();
    std::vector<char*> argv = {program.data(), location.data(), user_.data(),
                               const_cast<char*>(where.c_str()), nullptr};
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the session ended by itself: " << line;
    return line;
  }

  int64_t StoredCodes() {
    auto db = database_.Open();
    if (db->engine() == quil::server::Engine::Sqlite) {
      auto integrity = db->Prepare("PRAGMA integrity_check");
      EXPECT_TRUE(integrity->Step());
      EXPECT_EQ(integrity->ColumnText(0), "ok");
    }
    auto count = db->Prepare("SELECT COUNT(*) FROM VWOAFWEZIGHEIDSCODE");
    EXPECT_TRUE(count->Step());
    return count->ColumnInt64(0);
  }

  testdb::TestDatabase database_{testdb::Content::Demo};
  std::string user_;
};

TEST_F(KilledApplyTest, KilledInTheMiddleOfTheApplyNoneOfTheCodesAreStored) {
  ASSERT_EQ(KillWhenStopped("middle"), "midden");
  EXPECT_EQ(StoredCodes(), 0);
}

TEST_F(KilledApplyTest, KilledRightAfterTheCommitAllOfTheCodesAreStored) {
  ASSERT_EQ(KillWhenStopped("committed"), "bewaard");
  EXPECT_GE(StoredCodes(), 3);
}

}  // namespace
}  // namespace kavel::testing
