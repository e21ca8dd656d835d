// The control library's Wine tests. KESTA_EXPECT_ACP names the ANSI code page
// the run must have (the second run sets LC_ALL=ko_KR.UTF-8 for 949).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "hangul/quilh32.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (const char* expected = std::getenv("KESTA_EXPECT_ACP")) {
    if (GetACP() != static_cast<UINT>(std::atoi(expected))) {
      fprintf(stderr, "ANSI code page is %u, not %s: generate the locale (localedef -i ko_KR -f UTF-8 ko_KR.UTF-8)\n",
              GetACP(), expected);
      return 1;
    }
  }
  printf("ANSI code page %u\n", GetACP());
  InitHangulLib();
  const int result = RUN_ALL_TESTS();
  DestroyHangulLib();
  return result;
}
