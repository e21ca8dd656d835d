#include <gtest/gtest.h>

#include <vector>

#include "controls/button_state.h"

namespace kesta::controls {
namespace {

struct Step {
  Input input;
  bool inside;
  uint32_t state;
  bool click, capture, release;
};

void run(const char* name, uint32_t start, const std::vector<Step>& steps) {
  uint32_t state = start;
  for (size_t i = 0; i < steps.size(); ++i) {
    const Outcome o = pushInput(state, steps[i].input, steps[i].inside);
    EXPECT_EQ(o.state, steps[i].state) << name << " step " << i;
    EXPECT_EQ(o.click, steps[i].click) << name << " step " << i;
    EXPECT_EQ(o.capture, steps[i].capture) << name << " step " << i;
    EXPECT_EQ(o.release, steps[i].release) << name << " step " << i;
    state = o.state;
  }
}

TEST(PushButton, Sequences) {
  using namespace push;
  run("click", kFocused,
      {{Input::MouseDown, true, kFocused | kTracking, false, true, false},
       {Input::MouseUp, true, kFocused, true, false, true}});
  run("leave and release", 0,
      {{Input::MouseDown, true, kTracking, false, true, false},
       {Input::MouseMove, false, kTracking | kOutside, false, false, false},
       {Input::MouseUp, false, 0, false, false, true}});
  run("leave and come back", 0,
      {{Input::MouseDown, true, kTracking, false, true, false},
       {Input::MouseMove, false, kTracking | kOutside, false, false, false},
       {Input::MouseMove, true, kTracking, false, false, false},
       {Input::MouseUp, true, 0, true, false, true}});
  run("space", kDefault,
      {{Input::SpaceDown, true, kDefault | kPushed, false, false, false},
       {Input::SpaceDown, true, kDefault | kPushed, false, false, false},
       {Input::SpaceUp, true, kDefault, true, false, false},
       {Input::SpaceUp, true, kDefault, false, false, false}});
  run("moves without tracking", 0, {{Input::MouseMove, false, 0, false, false, false},
                                    {Input::MouseUp, true, 0, false, false, false}});
  run("space while tracking", kTracking, {{Input::SpaceDown, true, kTracking, false, false, false}});
}

TEST(PushButton, PushedFace) {
  using namespace push;
  EXPECT_FALSE(pushShowsPushed(0));
  EXPECT_TRUE(pushShowsPushed(kPushed));
  EXPECT_TRUE(pushShowsPushed(kTracking));
  EXPECT_FALSE(pushShowsPushed(kTracking | kOutside));
  EXPECT_EQ(pushClicked(kPushed | kTracking | kOutside | kFocused | kDefault), kFocused | kDefault);
}

TEST(CheckBox, SetCheckByStyle) {
  using namespace check;
  struct Row {
    uint32_t style, state;
    uintptr_t value;
    uint32_t after;
    int get;
  };
  const Row rows[] = {{kBsCheckBox, 0, 1, kChecked, 1},          {kBsCheckBox, kChecked, 0, 0, 0},
                      {kBsAutoCheckBox, kFocused, 5, kFocused | kChecked, 1},
                      {kBsThreeState, 0, 2, kThird, 2},          {kBsThreeState, kThird, 1, kChecked, 1},
                      {kBsAutoThreeState, kChecked, 0, 0, 0},    {kBsAutoThreeState, kChecked, 2, kThird, 2},
                      {kBsAutoThreeState, 0, 7, 0, 0},           {kBsAutoRadioButton, 0, 1, kChecked, 1},
                      {kBsRadioButton, kChecked | kPushed, 0, kPushed, 0}};
  for (const Row& r : rows) {
    const uint32_t s = checkSetCheck(r.state, r.style, r.value);
    EXPECT_EQ(s, r.after) << r.style << " " << r.value;
    EXPECT_EQ(checkGetCheck(s), r.get) << r.style << " " << r.value;
  }
}

TEST(CheckBox, ClicksToggleTheAutomaticStyles) {
  using namespace check;
  struct Row {
    uint32_t style, state;
    int setCheck;
  };
  const Row rows[] = {{kBsCheckBox, 0, -1},           {kBsAutoCheckBox, 0, 1},   {kBsAutoCheckBox, kChecked, 0},
                      {kBsAutoThreeState, kChecked, 0}, {kBsRadioButton, 0, -1}, {kBsAutoRadioButton, kChecked, 1}};
  for (const Row& r : rows) {
    Outcome o = checkInput(r.state, r.style, Input::MouseDown, true);
    EXPECT_TRUE(o.capture);
    EXPECT_TRUE(o.takeFocus);
    EXPECT_EQ(o.state, r.state | kTracking | kPushed | kInside);
    o = checkInput(o.state, r.style, Input::MouseMove, false);
    EXPECT_EQ(o.state, r.state | kTracking);
    o = checkInput(o.state, r.style, Input::MouseMove, true);
    o = checkInput(o.state, r.style, Input::MouseUp, true);
    EXPECT_TRUE(o.release);
    EXPECT_TRUE(o.click);
    EXPECT_EQ(o.setCheck, r.setCheck) << r.style;
    EXPECT_EQ(o.state, r.state);
    // Released outside: nothing happens.
    o = checkInput(r.state | kTracking, r.style, Input::MouseUp, false);
    EXPECT_FALSE(o.click);
    EXPECT_EQ(o.setCheck, -1);
    // The space key: down pushes, up toggles, and reports only when focused.
    o = checkInput(r.state | kFocused, r.style, Input::SpaceDown, true);
    EXPECT_EQ(o.state, r.state | kFocused | kPushed);
    o = checkInput(o.state, r.style, Input::SpaceUp, true);
    EXPECT_TRUE(o.click);
    EXPECT_EQ(o.setCheck, r.setCheck);
    o = checkInput(r.state | kPushed, r.style, Input::SpaceUp, true);
    EXPECT_FALSE(o.click);
    EXPECT_EQ(o.setCheck, r.setCheck);
  }
}

TEST(RadioGroup, MembersStopAtTheGroupEdges) {
  // Siblings: 0 [group] 1 2 | 3 [group] 4 5 | 6 [group]
  const bool starts[] = {true, false, false, true, false, false, true};
  struct Row {
    int self;
    std::vector<int> members;
  };
  const Row rows[] = {{0, {1, 2}}, {1, {0, 2}}, {2, {0, 1}}, {3, {4, 5}}, {5, {3, 4}}, {6, {}}, {7, {}}, {-1, {}}};
  for (const Row& r : rows) {
    int out[8];
    const int n = groupMembers(starts, 7, r.self, out, 8);
    EXPECT_EQ(std::vector<int>(out, out + n), r.members) << r.self;
  }
  // No group marks at all: the whole list, bounded by the capacity.
  const bool none[] = {false, false, false, false};
  int out[2];
  EXPECT_EQ(groupMembers(none, 4, 2, out, 2), 2);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 1);
}

}  // namespace
}  // namespace kesta::controls
