// The sender against the stand-in service: outcomes, order, back-off and its limit, an endpoint
// that is down, two senders on one database, and a sending process killed mid-send.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "ServerTestUtil.h"
#include "server/davinci/DavinciSender.h"
#include "server/davinci/DavinciSim.h"
#include "server/db/Schema.h"

namespace quil::server {
namespace {

using namespace std::chrono_literals;

constexpr double kSecond = 1.0 / 86400.0;

//! A loopback port nobody listens on.
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

class DavinciSenderTest : public ::testing::Test {
 protected:
  DavinciSenderTest() : path(database.location()), db(OpenDatabase(path)) {
    port = sim.Bind("127.0.0.1", 0);
    sim.Start();
  }

  //! A call on a new Davinci id record of the kind the type names; returns WC_ID.
  int64_t AddCall(int callType, const std::string& data, const char* davinciId = nullptr) {
    const int64_t id = ++lastId;
    auto record = db->Prepare(
        "INSERT INTO ZIDEZUZOID (ID_ID, ID_TYPE, ID_DATA_FK, ID_DAVINCIID) VALUES (:ID, :T, 1, "
        ":D)");
    record->BindInt64(record->ParameterIndex("ID"), id);
    record->BindInt64(record->ParameterIndex("T"), callType / 100);
    if (davinciId) record->BindText(record->ParameterIndex("D"), davinciId);
    record->Step();
    auto call = db->Prepare(
        "INSERT INTO WEBSERVICECALL (WC_ID, WC_CALLTYPE, WC_CALLSTATUS, WC_ZIDEZUZOID_FK, "
        "WC_SCHOOL_FK, WC_DATA, WC_POGINGEN) VALUES (:ID, :T, 'W', :ID, 1, :DATA, 0)");
    call->BindInt64(call->ParameterIndex("ID"), id);
    call->BindInt64(call->ParameterIndex("T"), callType);
    call->BindText(call->ParameterIndex("DATA"), data);
    call->Step();
    return id;
  }

  //! "state result attempts | error" of a call.
  std::string State(int64_t id) {
    auto stmt = db->Prepare(
        "SELECT COALESCE(WC_CALLSTATUS, '') || ' ' || COALESCE(WC_CALLFOUTCODE, '-') || ' ' || "
        "WC_POGINGEN || COALESCE(' | ' || WC_FOUT, '') FROM WEBSERVICECALL WHERE WC_ID = :ID");
    stmt->BindInt64(stmt->ParameterIndex("ID"), id);
    EXPECT_TRUE(stmt->Step());
    return std::string(stmt->ColumnText(0));
  }

  std::unique_ptr<DavinciSender> Sender(DavinciSenderOptions options = {}) {
    if (options.endpoint.empty()) options.endpoint = Endpoint();
    if (!options.clock) options.clock = [this] { return now; };
    return std::make_unique<DavinciSender>(OpenDatabase(path), std::move(options));
  }

  std::string Endpoint() const { return "http://127.0.0.1:" + std::to_string(port); }

  testing::FixtureLocation database;
  std::string path;
  std::unique_ptr<Database> db;
  DavinciSim sim;
  int port = 0;
  int64_t lastId = 0;
  TDateTime now = testing::FixedNow();
};

const std::string kLesson = R"({"datum":"2025-10-06","van":"18:30:00","tot":"21:30:00"})";
const std::string kPeriod = R"({"begindatum":"2025-09-15","einddatum":"2026-01-31"})";

TEST_F(DavinciSenderTest, AcceptedRefusedAndUnsendableCalls) {
  struct Case {
    int type;
    std::string data;
    const char* davinciId;
    const char* expected;
  };
  const Case cases[] = {
      {301, kLesson, nullptr, "V O 1"},
      {201, kPeriod, nullptr, "V O 1"},
      {302, R"({"datum":"2025-10-06","van":"21:30","tot":"18:30"})", "DVL-1",
       "G R 1 | DV-103: Het einduur van de les ligt niet na het beginuur"},
      {203, "{}", nullptr, "G R 1 | DV-011: Het object is nog niet aangemeld bij Davinci"},
      {501, R"({"rijksregisternummer":"123"})", nullptr,
       "G R 1 | DV-301: Het rijksregisternummer van de cursist is ongeldig"},
      {201, "not json", nullptr, "G R 1 | De gegevens van de oproep zijn geen geldig JSON-object"},
  };
  for (const Case& c : cases) AddCall(c.type, c.data, c.davinciId);
  auto sender = Sender();
  while (sender->SendNext()) {
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(State(static_cast<int64_t>(i + 1)), cases[i].expected) << cases[i].data;
  }
  // The accepted report keeps the id and token Davinci gave.
  auto record = db->Prepare(
      "SELECT ID_DAVINCIID, ID_DAVINCICONCURRENCYTOKEN, ID_STATUSOBJECT FROM ZIDEZUZOID "
      "WHERE ID_ID = 1");
  ASSERT_TRUE(record->Step());
  EXPECT_EQ(record->ColumnText(0).substr(0, 4), "DVL-");
  EXPECT_FALSE(record->ColumnText(1).empty());
  EXPECT_EQ(record->ColumnInt64(2), 1);
  EXPECT_EQ(sim.Counts().received, 5) << "the unreadable call never left";
}

TEST_F(DavinciSenderTest, ProgrammeVariantsGoBeforeModuleVariantsBeforeLessons) {
  const int64_t lesson = AddCall(301, kLesson);
  const int64_t pupil = AddCall(501, R"({"rijksregisternummer":"85010100001"})");
  const int64_t moduleVariant = AddCall(201, kPeriod);
  const int64_t programme = AddCall(101, kPeriod);
  auto sender = Sender();
  std::string order;
  for (int step = 0; step < 4; ++step) {
    ASSERT_TRUE(sender->SendNext());
    for (int64_t id : {programme, moduleVariant, lesson, pupil}) {
      order += State(id)[0];
    }
    order += ' ';
  }
  EXPECT_EQ(order, "VWWW VVWW VVVW VVVV ");
  EXPECT_FALSE(sender->SendNext());
}

TEST_F(DavinciSenderTest, RetriesWithBackOffAfterAnOutageUpToTheLimit) {
  const int64_t id = AddCall(301, kLesson);
  sim.SetStoring(true);
  auto sender = Sender({.retry = {.maxAttempts = 3, .firstDelay = 10s, .maxDelay = 15s}});
  ASSERT_TRUE(sender->SendNext());
  EXPECT_EQ(State(id), "H S 1 | DV-503: Davinci is tijdelijk niet beschikbaar");
  now = now + 9 * kSecond;
  EXPECT_FALSE(sender->SendNext()) << "not before its back-off ends";
  now = now + 1 * kSecond;
  ASSERT_TRUE(sender->SendNext());
  EXPECT_EQ(State(id), "H S 2 | DV-503: Davinci is tijdelijk niet beschikbaar");
  now = now + 14 * kSecond;
  EXPECT_FALSE(sender->SendNext()) << "the second wait doubles, up to its maximum";
  now = now + 1 * kSecond;
  ASSERT_TRUE(sender->SendNext());
  EXPECT_EQ(State(id), "M S 3 | DV-503: Davinci is tijdelijk niet beschikbaar");
  now = now + 3600 * kSecond;
  EXPECT_FALSE(sender->SendNext()) << "out of attempts: it waits for a user";

  // A user marks it again once the service is back.
  sim.SetStoring(false);
  db->ExecuteScript(
      "UPDATE WEBSERVICECALL SET WC_CALLSTATUS = 'H', WC_POGINGEN = 0, WC_VOLGENDEPOGING = NULL");
  ASSERT_TRUE(sender->SendNext());
  EXPECT_EQ(State(id), "V O 1");
}

TEST_F(DavinciSenderTest, AnEndpointThatIsDownIsTriedAgainWhenItComesBack) {
  const int64_t id = AddCall(201, kPeriod);
  const int downPort = FreePort();
  auto down = Sender(
      {.endpoint = "http://127.0.0.1:" + std::to_string(downPort), .retry = {.firstDelay = 5s}});
  ASSERT_TRUE(down->SendNext());
  EXPECT_EQ(State(id).substr(0, 8), "H T 1 | ");
  EXPECT_NE(State(id).find("Geen verbinding met Davinci"), std::string::npos);
  now = now + 5 * kSecond;
  ASSERT_TRUE(Sender()->SendNext());
  EXPECT_EQ(State(id), "V O 2");
}

TEST_F(DavinciSenderTest, TwoSendersOnOneDatabaseSendEachCallOnce) {
  for (int i = 0; i < 40; ++i) AddCall(301, kLesson);
  sim.SetDelay(2ms);
  auto first = Sender({.idle = 10ms, .clock = [] { return Now(); }});
  auto second = Sender({.idle = 10ms, .clock = [] { return Now(); }});
  first->Start();
  second->Start();
  auto waited = std::chrono::steady_clock::now();
  while (sim.Counts().accepted < 40 && std::chrono::steady_clock::now() - waited < 30s) {
    std::this_thread::sleep_for(10ms);
  }
  first->Stop();
  second->Stop();
  EXPECT_EQ(sim.Counts().accepted, 40);
  EXPECT_EQ(sim.Counts().received, 40) << "no call was sent twice";
  EXPECT_GT(first->Sent(), 0);
  EXPECT_GT(second->Sent(), 0);
}

TEST_F(DavinciSenderTest, ASenderKilledMidSendLosesNoCall) {
  const int64_t id = AddCall(201, kPeriod);
  sim.SetDelay(20s);
  // The sending server process, a real `kavel serve`: it claims the call and waits for Davinci's
  // answer. (A fork of this test process would copy the locks the service's threads hold.)
  const std::string db = path;
  const std::string endpoint = Endpoint();
  const char* argv[] = {KAVEL_BIN, "serve",     "--db", db.c_str(), "--port", "0",
                        "--davinci", endpoint.c_str(), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, KAVEL_BIN, &quiet, nullptr,
                                  const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&quiet);
  ASSERT_EQ(spawned, 0) << KAVEL_BIN;
  auto waited = std::chrono::steady_clock::now();
  while (sim.Counts().received == 0 && std::chrono::steady_clock::now() - waited < 60s) {
    std::this_thread::sleep_for(5ms);
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(sim.Counts().received, 1) << "the server never sent";
  ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;

  EXPECT_EQ(State(id), "W - 0") << "killed mid-send: still waiting, no attempt recorded";
  sim.SetDelay(0ms);
  // Once the dead server's claim has run out, another sender takes the call.
  const auto claim = DavinciSenderOptions{}.claim;
  auto sender = Sender({.clock = [claim] { return Now() + (claim.count() + 1) * kSecond; }});
  waited = std::chrono::steady_clock::now();
  while (!sender->SendNext() && std::chrono::steady_clock::now() - waited < 10s) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(State(id), "V O 1");
  EXPECT_EQ(sim.Counts().accepted, 1) << "Davinci knows the call once";
}

}  // namespace
}  // namespace quil::server
