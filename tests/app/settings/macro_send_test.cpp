// Sending a macro: read afresh, converted to the host code, sent as is.
#include <gtest/gtest.h>

#include "app/settings/macro_send.h"
#include "app/settings/macro_table.h"
#include "tests/app/settings/temp_home.h"

namespace kesta::settings {
namespace {

class MacroSend : public testing::TempHome {
 protected:
  std::size_t send(int n, int codeNumber = 6) {
    return sendMacro(files_, n, codeNumber, convert, [this](std::string_view b) { sent.push_back(std::string(b)); });
  }
  // Marks the conversion so that a test can see it was applied with the
  // right code number.
  ToHostCode convert = [this](std::string_view text, int code) {
    conversions.emplace_back(std::string(text), code);
    return std::string(text);
  };
  std::vector<std::string> sent;
  std::vector<std::pair<std::string, int>> conversions;
};

TEST_F(MacroSend, NothingIsSentWithoutAMacroFile) {
  EXPECT_EQ(send(1), 0u);
  EXPECT_TRUE(sent.empty());
  EXPECT_FALSE(exists("env/kesta.mac"));
}

TEST_F(MacroSend, AtzIsSentAsThreeBytesWithoutCarriageReturn) {
  MacroTable t;
  t.macros[0] = "ATZ";
  writeMacroTable(files_, t);
  EXPECT_EQ(send(1), 3u);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], "ATZ");
}

TEST_F(MacroSend, AnEmptyThirdMacroSendsNothing) {
  MacroTable t;
  t.macros[1] = "two";
  t.macros[3] = "four";
  writeMacroTable(files_, t);
  EXPECT_EQ(send(3), 0u);
  EXPECT_TRUE(sent.empty());
}

TEST_F(MacroSend, TheMacroIsConvertedToTheCurrentHostCode) {
  MacroTable t;
  t.macros[8] = "\x88\x61 ok";
  writeMacroTable(files_, t);
  ToHostCode upper = [](std::string_view text, int code) { return std::to_string(code) + ":" + std::string(text); };
  std::string got;
  sendMacro(files_, 9, 7, upper, [&](std::string_view b) { got = b; });
  EXPECT_EQ(got, "7:\x88\x61 ok");
}

TEST_F(MacroSend, TheFileIsReadAgainBeforeEachSend) {
  MacroTable t;
  t.macros[1] = "first";
  writeMacroTable(files_, t);
  send(2);
  t.macros[1] = "second";
  writeMacroTable(files_, t);
  send(2);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "first");
  EXPECT_EQ(sent[1], "second");
}

TEST_F(MacroSend, NumbersOutsideOneToNineSendNothing) {
  MacroTable t;
  t.macros.fill("x");
  writeMacroTable(files_, t);
  EXPECT_EQ(send(0), 0u);
  EXPECT_EQ(send(10), 0u);
  EXPECT_EQ(send(-3), 0u);
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(conversions.empty());
}

}  // namespace
}  // namespace kesta::settings
