// The QUILH32 tests start the library once, with HANJA.FNT copied into the
// Windows directory where the library looks for it.
#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  char dir[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
  const std::string target = std::string(dir, n) + "\\HANJA.FNT";
  CopyFileA((qtest::moduleDir() + "\\HANJA.FNT").c_str(), target.c_str(), FALSE);
  InitHangulLib();
  const int result = RUN_ALL_TESTS();
  DestroyHangulLib();
  return result;
}
