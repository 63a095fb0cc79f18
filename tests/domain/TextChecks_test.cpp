#include "host/domain/TextChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace quil {
namespace {

TEST(CheckEmailTest, UsableAddressesPass) {
  const std::string longLocal(64, 'a');
  const std::string longLabel(63, 'b');
  // 64 + 1 + 63 + 1 + 63 + 1 + 61 = 254 characters, the longest address allowed.
  const std::string longest =
      longLocal + "@" + longLabel + "." + longLabel + "." + std::string(61, 'c');
  ASSERT_EQ(longest.size(), 254u);
  for (const std::string& email : {
           std::string("jan.peeters@cvodelinde.be"),
           std::string("An.Aerts@School.Example.BE"),
           std::string("o'brien+kbi@mail.example"),
           std::string("x@a-b.c9"),
           std::string("!#$%&'*+/=?^_`{|}~-@example.org"),
           longLocal + "@example.be",
           "a@" + longLabel + ".be",
           longest,
       }) {
    EXPECT_EQ(CheckEmail(email), "") << email;
  }
}

TEST(CheckEmailTest, RefusedAddressesSayWhy) {
  struct Case {
    std::string email;
    std::string message;
  } cases[] = {
      {"jan peeters@school.be",
       "Het e-mailadres 'jan peeters@school.be' mag geen spaties bevatten"},
      {" jan@school.be", "Het e-mailadres ' jan@school.be' mag geen spaties bevatten"},
      {"jan@school.be\r\n", "Het e-mailadres 'jan@school.be\r\n' mag geen spaties bevatten"},
      {"jan@school.be\t", "Het e-mailadres 'jan@school.be\t' mag geen spaties bevatten"},
      {"jan.school.be", "Het e-mailadres 'jan.school.be' moet juist één '@' bevatten"},
      {"jan@@school.be", "Het e-mailadres 'jan@@school.be' moet juist één '@' bevatten"},
      {"jan@school@be", "Het e-mailadres 'jan@school@be' moet juist één '@' bevatten"},
      {"", "Het e-mailadres '' moet juist één '@' bevatten"},
      {"@school.be", "'@school.be' is geen geldig e-mailadres"},
      {".jan@school.be", "'.jan@school.be' is geen geldig e-mailadres"},
      {"jan.@school.be", "'jan.@school.be' is geen geldig e-mailadres"},
      {"jan..peeters@school.be", "'jan..peeters@school.be' is geen geldig e-mailadres"},
      {"jan(kbi)@school.be", "'jan(kbi)@school.be' is geen geldig e-mailadres"},
      {"josé@school.be", "'josé@school.be' is geen geldig e-mailadres"},
      {"jan@", "'jan@' is geen geldig e-mailadres"},
      {"jan@school", "'jan@school' is geen geldig e-mailadres"},
      {"jan@.school.be", "'jan@.school.be' is geen geldig e-mailadres"},
      {"jan@school.be.", "'jan@school.be.' is geen geldig e-mailadres"},
      {"jan@school..be", "'jan@school..be' is geen geldig e-mailadres"},
      {"jan@-school.be", "'jan@-school.be' is geen geldig e-mailadres"},
      {"jan@school-.be", "'jan@school-.be' is geen geldig e-mailadres"},
      {"jan@school_x.be", "'jan@school_x.be' is geen geldig e-mailadres"},
      {"jan@[10.0.0.1]", "'jan@[10.0.0.1]' is geen geldig e-mailadres"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckEmail(c.email), c.message) << c.email;
  }
}

TEST(CheckEmailTest, LengthLimitsOfLocalPartLabelAndAddress) {
  const std::string label(63, 'b');
  for (const std::string& email : {
           std::string(65, 'a') + "@example.be",
           "a@" + std::string(64, 'b') + ".be",
           // 255 characters, every part within its own limit.
           std::string(64, 'a') + "@" + label + "." + label + "." + std::string(62, 'c'),
       }) {
    EXPECT_EQ(CheckEmail(email), "'" + email + "' is geen geldig e-mailadres") << email.size();
  }
}

}  // namespace
}  // namespace quil
