// The Dial dialog's model: the list from "\tel\kesta.tel", the fields of the
// entry shown, Append, Change and Delete at both ends with and without a
// selection, and the file's bytes after each.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/shell/dialogs/phone_book_list.h"
#include "memory_files.h"

namespace kesta::shell {
namespace {

using testing::Bytes;
using testing::MemoryHome;
constexpr const char* kTel = "\\tel\\kesta.tel";

// Answers the save question as told and counts the questions.
struct Answer : SaveQuestion {
  bool yes = true;
  int asked = 0;
  bool askToSave() override {
    ++asked;
    return yes;
  }
};

Bytes fileOf(const std::vector<std::string>& lines) {
  Bytes bytes;
  for (const auto& line : lines) testing::appendText(bytes, line, 100);
  return bytes;
}

struct Fixture {
  MemoryHome home;
  DialSession session;
  Answer answer;
  PhoneBookList list{home.files, session, answer};
  DialFields fields;

  explicit Fixture(const std::vector<std::string>& lines, std::optional<int> selected) {
    if (!lines.empty()) home.put(kTel, fileOf(lines));
    session.lastIndex = selected.value_or(99);
    list.open(fields);
  }
};

const std::vector<std::string> kThree = {"Alpha\t0111\t2400\tN-8-1", "Beta\t0222\t9600\tE-7-1",
                                         "Gamma\tbbs.example.org:2323"};
// The fields of a new modem entry "New", 0999, 38400 O-8-2.
DialFields newEntryFields() { return {"New", "0999", 9, 1, 1, 1}; }
const std::string kNewLine = "New\t0999\t38400\tO-8-2";

TEST(PhoneBookList, OpensEmptyWithoutAFileAndSelectsTheRememberedIndex) {
  Fixture none({}, 0);
  EXPECT_EQ(none.list.count(), 0);
  EXPECT_EQ(none.list.selection(), std::nullopt);

  Fixture second(kThree, 1);
  EXPECT_EQ(second.list.lines(), kThree);
  EXPECT_EQ(second.list.selection(), 1);
  EXPECT_EQ(second.fields, (DialFields{"Beta", "0222", 6, 0, 0, 2}));

  Fixture beyond(kThree, 3);  // the file lost entries since: nothing selected
  EXPECT_EQ(beyond.list.selection(), std::nullopt);
  EXPECT_EQ(beyond.fields, DialFields{});
}

TEST(PhoneBookList, EachOperationChangesTheListAndTheFile) {
  enum class Op { Append, Change, Delete };
  struct Case {
    const char* what;
    Op op;
    std::optional<int> selected;
    std::vector<std::string> lines;
    std::optional<int> selectedAfter;
    bool changed;
  };
  const Case cases[] = {
      {"append before the first", Op::Append, 0, {kNewLine, kThree[0], kThree[1], kThree[2]}, 0, true},
      {"append before the last", Op::Append, 2, {kThree[0], kThree[1], kNewLine, kThree[2]}, 2, true},
      {"append with no selection", Op::Append, std::nullopt, {kThree[0], kThree[1], kThree[2], kNewLine},
       std::nullopt, true},
      {"change the first", Op::Change, 0, {kNewLine, kThree[1], kThree[2]}, 0, true},
      {"change the last", Op::Change, 2, {kThree[0], kThree[1], kNewLine}, 2, true},
      {"change with no selection", Op::Change, std::nullopt, kThree, std::nullopt, false},
      {"delete the first", Op::Delete, 0, {kThree[1], kThree[2]}, 0, true},
      {"delete the last", Op::Delete, 2, {kThree[0], kThree[1]}, std::nullopt, true},
      {"delete with no selection", Op::Delete, std::nullopt, kThree, std::nullopt, false},
  };
  for (const Case& c : cases) {
    for (bool save : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (save ? ", saved" : ", not saved"));
      Fixture f(kThree, c.selected);
      f.answer.yes = save;
      DialFields typed = newEntryFields();
      bool changed = c.op == Op::Append ? f.list.append(typed)
                     : c.op == Op::Change ? f.list.change(typed)
                                          : f.list.remove(f.fields);
      EXPECT_EQ(changed, c.changed);
      EXPECT_EQ(f.list.lines(), c.lines);
      EXPECT_EQ(f.list.selection(), c.selectedAfter);
      EXPECT_EQ(f.answer.asked, c.changed ? 1 : 0);
      EXPECT_EQ(f.home.get(kTel), fileOf(save && c.changed ? c.lines : kThree));
    }
  }
}

TEST(PhoneBookList, DeleteShowsTheEntryNowAtTheIndexAndTheLastLeavesNothing) {
  Fixture f(kThree, 0);
  f.list.remove(f.fields);
  EXPECT_EQ(f.fields.name, "Beta");  // the entry that moved up is shown
  Fixture one({kThree[0]}, 0);
  one.list.remove(one.fields);
  EXPECT_EQ(one.list.count(), 0);
  EXPECT_EQ(one.list.selection(), std::nullopt);
  EXPECT_FALSE(one.list.change(newEntryFields()));
  EXPECT_EQ(one.home.get(kTel), Bytes{});  // the empty list was saved as an empty file
}

TEST(PhoneBookList, AHostLeavesTheListsAndListsWithNoSelectionKeepTheLastSettings) {
  Fixture f(kThree, 1);  // Beta: 9600 E-7-1
  f.list.select(2, f.fields);
  EXPECT_EQ(f.fields, (DialFields{"Gamma", "bbs.example.org:2323", 6, 0, 0, 2}));
  DialFields typed{"Delta", "0444", -1, 1, -1, -1};
  EXPECT_EQ(f.list.buildLine(typed), "Delta\t0444\t9600\tE-8-1");
  DialFields host{"Host", "10.0.0.1", 3, 1, 1, 1};
  EXPECT_EQ(f.list.buildLine(host), "Host\t10.0.0.1");
}

TEST(PhoneBookList, LongFieldsAreCutAtCharacterBoundariesAndLinesAtSaving) {
  Fixture f({}, std::nullopt);
  // 98 one-byte characters and a two-byte one: the name ends before it.
  std::string name = std::string(98, 'n') + "\x88\x61" + "x";
  std::string number = std::string(120, '5');
  DialFields typed{name, number, 9, 1, 1, 0};
  f.list.append(typed);
  const std::string& line = f.list.lines().at(0);
  EXPECT_EQ(line, std::string(98, 'n') + "\t" + std::string(99, '5') + "\t38400\tN-8-2");
  EXPECT_EQ(line.size(), 98u + 1 + 99 + 1 + 5 + 1 + 5);  // kept whole in the list
  Bytes expected;
  testing::appendText(expected, line.substr(0, 99), 100);
  EXPECT_EQ(f.home.get(kTel), expected);

  // A line whose 99th byte would start a two-byte character is saved with 98.
  Fixture g({}, std::nullopt);
  g.list.append({std::string(97, 'a'), "\xb0\xa1.example", -1, -1, -1, -1});
  EXPECT_EQ(g.list.lines().at(0).size(), 97u + 1 + 10);
  Bytes cut;
  testing::appendText(cut, std::string(97, 'a') + "\t", 100);
  EXPECT_EQ(g.home.get(kTel), cut);
}

TEST(PhoneBookList, DialingAndClosingRememberTheIndex) {
  Fixture f(kThree, 2);
  auto entry = f.list.dial();
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->isHost());
  EXPECT_EQ(entry->number, "bbs.example.org:2323");
  EXPECT_TRUE(f.session.dialRequested);
  EXPECT_EQ(f.session.lastIndex, 2);

  Fixture g(kThree, std::nullopt);
  EXPECT_FALSE(g.list.dial());
  EXPECT_FALSE(g.session.dialRequested);
  g.list.select(1, g.fields);
  g.list.close();
  EXPECT_EQ(g.session.lastIndex, 1);
  g.list.select(std::nullopt, g.fields);
  g.list.close();
  EXPECT_EQ(g.session.lastIndex, 0);
  g.list.open(g.fields);  // opening again clears the request and selects index 0
  EXPECT_EQ(g.list.selection(), 0);
}

}  // namespace
}  // namespace kesta::shell
