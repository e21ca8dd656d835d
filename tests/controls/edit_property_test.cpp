// Random keys in both modes and layouts, with insert, overwrite, Backspace,
// Delete, moves, selections and pastes, against the plain character-list model.
#include <gtest/gtest.h>

#include "tests/controls/edit_model.h"

namespace kesta::controls::testing {
namespace {

class EditProperty : public ::testing::TestWithParam<bool> {};

TEST_P(EditProperty, RandomSessionsAgreeWithTheModel) {
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    std::string failure;
    runSession(rng, 400, GetParam(), [&](const char* message) {
      if (failure.empty()) failure = message;
    });
    ASSERT_TRUE(failure.empty()) << failure << " (seed " << seed << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, EditProperty, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "MultiLine" : "OneLine"; });

}  // namespace
}  // namespace kesta::controls::testing
