#include "cli/args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kesta::cli::Args;

// Holds writable copies of the words, as main() receives them.
struct Argv {
  explicit Argv(std::vector<std::string> words) : storage(std::move(words)) {
    for (auto& w : storage) pointers.push_back(w.data());
  }
  int argc() { return static_cast<int>(pointers.size()); }
  char** argv() { return pointers.data(); }
  std::vector<std::string> storage;
  std::vector<char*> pointers;
};

TEST(CliArgs, ValuesFlagsAndPositionalsInAnyOrder) {
  Argv a({"convert", "in.txt", "--from", "6", "--to=utf8", "--trace", "out.txt"});
  Args args({"--from", "--to"}, {"--trace"});
  ASSERT_TRUE(args.parse(a.argc(), a.argv())) << args.error();
  EXPECT_EQ(args.value("--from"), "6");
  EXPECT_EQ(args.value("--to"), "utf8");
  EXPECT_TRUE(args.has("--trace"));
  EXPECT_FALSE(args.wantsHelp());
  EXPECT_EQ(args.positional(), (std::vector<std::string>{"in.txt", "out.txt"}));
}

TEST(CliArgs, DoubleDashEndsOptionsAndLoneDashIsPositional) {
  Argv a({"x", "-", "--", "--from"});
  Args args({"--from"}, {});
  ASSERT_TRUE(args.parse(a.argc(), a.argv()));
  EXPECT_FALSE(args.has("--from"));
  EXPECT_EQ(args.positional(), (std::vector<std::string>{"-", "--from"}));
}

TEST(CliArgs, RejectsUnknownOptionsMissingValuesAndValuedFlags) {
  {
    Argv a({"x", "--bogus"});
    Args args({}, {});
    EXPECT_FALSE(args.parse(a.argc(), a.argv()));
    EXPECT_NE(args.error().find("--bogus"), std::string::npos);
  }
  {
    Argv a({"x", "--from"});
    Args args({"--from"}, {});
    EXPECT_FALSE(args.parse(a.argc(), a.argv()));
    EXPECT_NE(args.error().find("needs a value"), std::string::npos);
  }
  {
    Argv a({"x", "--trace=1"});
    Args args({}, {"--trace"});
    EXPECT_FALSE(args.parse(a.argc(), a.argv()));
  }
}

TEST(CliArgs, IntegerOptionsAreRangeChecked) {
  Argv a({"x", "--code", "9", "--rows", "24", "--chunk", "12x"});
  Args args({"--code", "--rows", "--chunk"}, {});
  ASSERT_TRUE(args.parse(a.argc(), a.argv()));
  long rows = 28, code = 1, chunk = 80, absent = 5;
  EXPECT_TRUE(args.intValue("--rows", 24, 28, &rows));
  EXPECT_EQ(rows, 24);
  EXPECT_FALSE(args.intValue("--code", 1, 8, &code));
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(args.intValue("--chunk", 1, 4096, &chunk));
  EXPECT_TRUE(args.intValue("--absent", 0, 9, &absent));
  EXPECT_EQ(absent, 5);
  EXPECT_TRUE(Args({}, {}).parse(1, a.argv()));
}

}  // namespace
