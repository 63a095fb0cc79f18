// ScopeExit runs its step on every path; a step failing while an error unwinds does not hide
// that error (nor end the program), a step failing on a normal end is reported.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/base/Errors.h"
#include "host/base/ScopeExit.h"

namespace quil {
namespace {

TEST(ScopeExitTest, RunsOnEveryPathAndKeepsTheFirstError) {
  struct Case {
    const char* name;
    bool bodyThrows;
    bool stepThrows;
    const char* reaches;  // the error the caller sees; "" for none
  } cases[] = {
      {"normal end", false, false, ""},
      {"client error", true, false, "werk mislukt"},
      {"step fails while the error unwinds", true, true, "werk mislukt"},
      {"step fails on a normal end", false, true, "herstel mislukt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int restored = 0;
    std::string reached;
    try {
      ScopeExit restore([&] {
        ++restored;
        if (c.stepThrows) throw std::runtime_error("herstel mislukt");
      });
      if (c.bodyThrows) RaiseClientError("werk mislukt");
    } catch (const std::exception& e) {
      reached = e.what();
    }
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(reached, c.reaches);
  }
}

TEST(ScopeExitTest, AScopeBegunWhileUnwindingEndsNormally) {
  // A restore that itself opens a scope (inside a destructor during unwinding) still reports a
  // failure of its own step: only errors newer than the scope count as unwinding.
  std::string inner;
  struct Outer {
    std::string& inner;
    ~Outer() {
      try {
        ScopeExit step([] { throw std::runtime_error("binnen"); });
      } catch (const std::exception& e) {
        inner = e.what();
      }
    }
  };
  EXPECT_THROW(
      {
        Outer outer{inner};
        Abort();
      },
      EAbort);
  EXPECT_EQ(inner, "binnen");
}

}  // namespace
}  // namespace quil
