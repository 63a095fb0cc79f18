// The words for the Davinci codes: every code the server writes has one, and a code from a newer
// server is named as unknown rather than failing a screen.
#include <gtest/gtest.h>

#include <set>

#include "host/data/DavinciCalls.h"
#include "host/domain/Departementconst.h"

namespace quil {
namespace {

using namespace davinci;

TEST(DavinciCodes, EveryStoredCodeHasItsOwnWords) {
  std::set<std::string> statuses, results;
  for (char code : {status::kWachtend, status::kOpnieuw, status::kVerzonden, status::kGeweigerd,
                    status::kMislukt}) {
    const std::string text = TDepUtils::StatusString(std::string(1, code));
    EXPECT_EQ(text.find("Onbekend"), std::string::npos) << code;
    statuses.insert(text);
  }
  EXPECT_EQ(statuses.size(), 5u);
  for (char code : {foutcode::kOk, foutcode::kRegel, foutcode::kOnbekend, foutcode::kConflict,
                    foutcode::kVerbinding, foutcode::kServerfout, foutcode::kNietGemachtigd}) {
    const std::string text = TDepUtils::FoutcodeString(std::string(1, code));
    EXPECT_EQ(text.find("Onbekend"), std::string::npos) << code;
    results.insert(text);
  }
  EXPECT_EQ(results.size(), 7u);
  std::set<std::string> types;
  for (int object = 1; object <= 6; ++object) {
    for (int action = 1; action <= 3; ++action) {
      const int type = CallType(static_cast<ObjectType>(object), static_cast<CallAction>(action));
      const std::string text = TDavinciUtils::DavinciCallTypeToString(type);
      EXPECT_EQ(text.find("Onbekend"), std::string::npos) << type;
      types.insert(text);
    }
  }
  EXPECT_EQ(types.size(), 18u);
}

TEST(DavinciCodes, UnknownAndEmptyCodes) {
  EXPECT_EQ(TDepUtils::StatusString(""), "");
  EXPECT_EQ(TDepUtils::FoutcodeString(""), "");
  EXPECT_EQ(TDepUtils::StatusString("Z"), "Onbekende code (Z)");
  EXPECT_EQ(TDepUtils::StatusString("WW"), "Onbekende code (WW)");
  EXPECT_EQ(TDavinciUtils::DavinciCallTypeToString(999), "Onbekend soort oproep (999)");
  EXPECT_EQ(GetZidezuzoIDStatusdescription(1), "Aangemeld");
  EXPECT_EQ(GetZidezuzoIDStatusdescription(4), "Geannuleerd");
  EXPECT_EQ(GetZidezuzoIDStatusdescription(-1), "Onbekende status (-1)");
  EXPECT_EQ(GetZidezuzoIDStatusdescription(5), "Onbekende status (5)");
}

}  // namespace
}  // namespace quil
