#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelvo::test {

TEST(KduBasics, VersionAndUsage) {
  CommandResult v = RunKdu({"--version"});
  EXPECT_EQ(v.exit_code, 0);
  EXPECT_EQ(v.out, "2.2b\n");

  CommandResult bad = RunKdu({"--no-such-option"});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_FALSE(bad.err.empty());

  CommandResult help = RunKdu({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--drive-a"), std::string::npos);
}

}  // namespace kelvo::test
