// HXLAT32.DLL as its callers see it: loaded by name, the conversion entry
// found by ordinal 3, text converted in place.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using ConvertFn = char*(WINAPI*)(int fromType, int toType, char* text);
using ConvertExFn = char*(WINAPI*)(int fromType, int toType, char* text, UINT capacity);

// GetProcAddress hands out a generic function pointer; the real type is ours.
template <class F>
F procAs(FARPROC p) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

class Hxlat32 : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA("HXLAT32.DLL");
    ASSERT_NE(module_, nullptr) << "LoadLibraryA failed: " << GetLastError();
    convert_ = procAs<ConvertFn>(GetProcAddress(module_, MAKEINTRESOURCEA(3)));
    convertEx_ = procAs<ConvertExFn>(GetProcAddress(module_, MAKEINTRESOURCEA(4)));
    ASSERT_NE(convert_, nullptr);
    ASSERT_NE(convertEx_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
  ConvertFn convert_ = nullptr;
  ConvertExFn convertEx_ = nullptr;
};

TEST_F(Hxlat32, OrdinalsAreTheNamedExports) {
  EXPECT_EQ(convert_, procAs<ConvertFn>(GetProcAddress(module_, "ConvertHangulCode")));
  EXPECT_EQ(convertEx_, procAs<ConvertExFn>(GetProcAddress(module_, "ConvertHangulCodeEx")));
}

TEST_F(Hxlat32, OrdinalThreeConvertsInPlaceAndReturnsTheBuffer) {
  char text[] = "Hi \xB0\xA1\xB3\xAA!";  // "Hi 가나!" in code page 949
  char* result = convert_(6, 1, text);
  EXPECT_EQ(result, text);
  EXPECT_EQ(std::string(text), "Hi \x88\x61\x90\x61!");
  convert_(1, 6, text);
  EXPECT_EQ(std::string(text), "Hi \xB0\xA1\xB3\xAA!");
}

TEST_F(Hxlat32, OrdinalThreeNeverGrowsTheText) {
  // 7-bit output needs shifts; ordinal 3 keeps to the input's length.
  char buf[16];
  std::memset(buf, 0x55, sizeof buf);
  std::memcpy(buf, "a\x88\x61\x90\x61" "b", 7);
  convert_(1, 7, buf);
  EXPECT_EQ(std::string(buf), "a\x0e\x30\x21\x0f");
  for (std::size_t k = 7; k < sizeof buf; ++k) EXPECT_EQ(buf[k], 0x55);
}

TEST_F(Hxlat32, TheCapacityExportLetsSevenBitTextGrow) {
  char buf[16] = "a\x88\x61\x90\x61" "b";
  EXPECT_EQ(convertEx_(1, 7, buf, sizeof buf), buf);
  EXPECT_EQ(std::string(buf), "a\x0e\x30\x21\x33\x2a\x0f" "b");
  convertEx_(7, 1, buf, sizeof buf);
  EXPECT_EQ(std::string(buf), "a\x88\x61\x90\x61" "b");
}

TEST_F(Hxlat32, NullTextAndUnknownTypesAreHarmless) {
  EXPECT_EQ(convert_(1, 6, nullptr), nullptr);
  char text[] = "\x88\x61";
  EXPECT_EQ(convert_(1, 42, text), text);
  EXPECT_EQ(std::string(text), "\x88\x61");
}

}  // namespace
