// The automaton exports driven through a registered window give what the
// neutral core gives for the same keys.
#include <random>

#include "test_support.h"

namespace core = kesta::hangul;

namespace {

class AutomataExportTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    window = CreateWindowA("STATIC", "keys", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(RegisterWindow(window), 1);
  }
  void TearDown() override {
    UnregisterWindow(window);
    DestroyWindow(window);
  }
  HWND window = nullptr;
};

TEST_P(AutomataExportTest, RandomKeysMatchTheCore) {
  const int type = GetParam();
  core::AutomataState s{};
  ASSERT_EQ(InitAutomata(window, type), core::InitAutomata(&s, type));
  ASSERT_EQ(SetHangulMode(window, 1), core::SetHangulMode(&s, 1));
  EXPECT_EQ(GetKbdType(window), type);
  std::mt19937 rng(type);
  const char keys[] = "rRseEfaqQtTdwWczxvgkoiOjpuPhynbmlRSEFAQTDWCZXVGKOIJPUHYNBML\b\b 1;'/";
  for (int i = 0; i < 4000; ++i) {
    const WORD key = static_cast<unsigned char>(keys[rng() % (sizeof keys - 1)]);
    WORD viaWindow = key;
    uint16_t viaCore = key;
    const short a = GetKey(window, &viaWindow);
    const short b = core::GetKey(&s, &viaCore, false);
    ASSERT_EQ(a, b) << "key " << i;
    ASSERT_EQ(viaWindow, viaCore) << "key " << i;
    ASSERT_EQ(GetCurrentCode(window), core::GetCurrentCode(&s));
    ASSERT_EQ(GetCompletedCode(window), core::GetCompletedCode(&s));
    ASSERT_EQ(IsProcessingInput(window), core::IsProcessingInput(&s));
    ASSERT_EQ(WasProcessingInput(window), core::WasProcessingInput(&s));
    WORD i1 = 0, m1 = 0, f1 = 0;
    uint16_t i2 = 0, m2 = 0, f2 = 0;
    ASSERT_EQ(GetCurrentKeys(window, &i1, &m1, &f1), core::GetCurrentKeys(&s, &i2, &m2, &f2));
    ASSERT_EQ(i1, i2);
    ASSERT_EQ(m1, m2);
    ASSERT_EQ(f1, f2);
  }
  EXPECT_EQ(MakeCompleteCode(window), core::MakeCompleteCode(&s));
  EXPECT_EQ(ClearCodes(window), core::ClearCodes(&s));
}

INSTANTIATE_TEST_SUITE_P(Layouts, AutomataExportTest, ::testing::Values(1, 2));

TEST_F(AutomataExportTest, WordInTwoSetLayout) {
  ASSERT_EQ(InitAutomata(window, 2), 1);
  SetHangulMode(window, 1);
  std::vector<WORD> committed;
  for (char c : std::string("dkssud")) {
    WORD k = static_cast<unsigned char>(c);
    if (GetKey(window, &k) == -1) committed.push_back(GetCompletedCode(window));
  }
  committed.push_back(MakeCompleteCode(window));
  const std::string want = qtest::combination("안녕");
  ASSERT_EQ(committed.size(), 2u);
  EXPECT_EQ(committed[0], static_cast<WORD>(static_cast<uint8_t>(want[0]) << 8 | static_cast<uint8_t>(want[1])));
  EXPECT_EQ(committed[1], static_cast<WORD>(static_cast<uint8_t>(want[2]) << 8 | static_cast<uint8_t>(want[3])));
}

TEST_F(AutomataExportTest, EnglishModeAndUnregisteredWindows) {
  ASSERT_EQ(InitAutomata(window, 2), 1);
  WORD k = 'a';
  EXPECT_EQ(GetKey(window, &k), 1);
  k = 8;
  EXPECT_EQ(GetKey(window, &k), -6);
  EXPECT_EQ(InitAutomata(window, 3), 0);
  HWND other = CreateWindowA("STATIC", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(InitAutomata(other, 2), 0);
  EXPECT_EQ(GetKey(other, &k), 0);
  EXPECT_EQ(IsToggleKeyPressed(other, 32), 0);
  DestroyWindow(other);
  EXPECT_EQ(DisableIME(0), 0);
  EXPECT_EQ(EnableIME(0, 0), 0);
}

TEST_F(AutomataExportTest, ToggleNeedsControlAndFlipsTheMode) {
  ASSERT_EQ(InitAutomata(window, 2), 1);
  EXPECT_EQ(IsToggleKeyPressed(window, 32), 0);  // Control is up
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  keys[VK_CONTROL] = 0x80;
  ASSERT_TRUE(SetKeyboardState(keys));
  EXPECT_EQ(IsToggleKeyPressed(window, 32), 1);
  EXPECT_EQ(IsInHangulMode(window), 1);
  WORD space = 32;
  EXPECT_EQ(GetKey(window, &space), -5);
  ASSERT_TRUE(GetKeyboardState(keys));
  EXPECT_EQ(keys[VK_CONTROL], 0);  // the recorded Control state was flipped
}

}  // namespace
