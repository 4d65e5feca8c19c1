// Choose against a fake dialog manager: when it shows nothing and writes
// nothing, what it asks of the dialog manager, and how each answer replaces
// the preference on top of the stack.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "choose.h"
#include "chooser_ids.h"
#include "exact_entry.h"
#include "fake_dialog_manager.h"
#include "portable_strings.h"

namespace orvel::plugin {
namespace {

using testing::DialogInput;
using testing::ExactEntry;
using testing::FakeDialogManager;

constexpr ModuleHandle kPlugin = static_cast<ModuleHandle>(0x7FF810000000);
constexpr WindowHandle kOwner = static_cast<WindowHandle>(0x30042);

class ChooseTest : public ::testing::Test {
 protected:
  // Runs Choose on a stack whose top entry is `top`, over an entry below it.
  void ChooseOn(ExactEntry& top, int stringSize, WindowHandle owner = kOwner) {
    top.get()->next = below_.get();
    StackEntry* stack = top.get();
    Choose(dialogs_, strings_, kPlugin, owner, stringSize, &stack);
    EXPECT_EQ(stack, top.get()) << "Choose neither pushes nor pops";
    EXPECT_EQ(top.get()->next, below_.get()) << "the link is left alone";
    EXPECT_EQ(below_.Units(), testing::UnitsOf(u"below", 16)) << "only the top entry is written";
    EXPECT_EQ(dialogs_.unendedDialogs(), 0) << "a scripted dialog never ended";
  }

  FakeDialogManager dialogs_;
  PortableStrings strings_;
  ExactEntry below_{u"below", 16};
};

TEST_F(ChooseTest, WithoutAStackOrRoomShowsNothingAndWritesNothing) {
  StackEntry* empty = nullptr;
  Choose(dialogs_, strings_, kPlugin, kOwner, 1024, nullptr);
  Choose(dialogs_, strings_, kPlugin, kOwner, 1024, &empty);
  EXPECT_EQ(empty, nullptr);

  for (int stringSize : {0, -1, INT_MIN}) {
    ExactEntry top(u"preferred-2070", 16);
    ChooseOn(top, stringSize);
    EXPECT_EQ(top.Units(), testing::UnitsOf(u"preferred-2070", 16)) << "string_size " << stringSize;
  }
  EXPECT_TRUE(dialogs_.journal().empty()) << "no dialog was shown";
}

TEST_F(ChooseTest, ShowsTemplate101OfThePluginWithTheLanguageThePreferenceAsksFor) {
  struct Case {
    std::u16string preference;
    WindowHandle owner;
    std::string call;
  };
  const Case cases[] = {
      {u"preferred-2070", kOwner, "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 2070)"},
      {u"Preferred-2070", kOwner, "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 1033)"},
      {u"preferred-2070 ", kOwner, "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 1033)"},
      {u"preferred-1033", kOwner, "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 1033)"},
      {u"", kOwner, "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 1033)"},
      {u"preferred-2070", WindowHandle::kNone, "DialogBoxParamW(0x7ff810000000, 101, null, 2070)"},
  };
  for (const Case& c : cases) {
    dialogs_.ClearJournal();
    ExactEntry top(c.preference, 1024);
    ChooseOn(top, 1024, c.owner);
    EXPECT_EQ(dialogs_.journal(), std::vector<std::string>{c.call}) << testing::Ascii(c.preference);
  }
}

// Every dialog result at the capacities where truncation starts and stops.
// The entry is exactly string_size units long.
TEST_F(ChooseTest, WritesTheAnswerOverThePreferenceBoundedByStringSize) {
  // What Portuguese (2070), English (1033), Cancel (2) and a failed dialog
  // (-1, 0 or anything else) leave in an entry of string_size units.
  struct Row {
    int stringSize;
    std::u16string portuguese, english, cancel, error;
  };
  const Row rows[] = {
      {1, u"", u"", u"", u""},
      {4, u"207", u"103", u"can", u"err"},
      {5, u"2070", u"1033", u"canc", u"erro"},
      {6, u"2070", u"1033", u"cance", u"error"},
      {7, u"2070", u"1033", u"cancel", u"error"},
      {1024, u"2070", u"1033", u"cancel", u"error"},
  };
  for (const Row& row : rows) {
    const std::pair<std::intptr_t, std::u16string> answers[] = {
        {2070, row.portuguese}, {1033, row.english}, {2, row.cancel}, {-1, row.error}, {0, row.error}, {1, row.error},
    };
    for (const auto& [result, written] : answers) {
      SCOPED_TRACE("result " + std::to_string(result) + ", string_size " + std::to_string(row.stringSize));
      dialogs_.dialogResult = result;
      ExactEntry top(u"", row.stringSize);
      ChooseOn(top, row.stringSize);
      EXPECT_EQ(top.Units(), testing::UnitsOf(written, row.stringSize));
    }
  }
}

// Choose and the real dialog procedure together, with the fake standing in
// for the dialog manager's keyboard and mouse handling.
TEST_F(ChooseTest, TheUsersWayOutOfTheDialogBecomesTheAnswer) {
  struct Case {
    const char* what;
    std::u16string preference;
    std::vector<DialogInput> inputs;
    std::u16string answer;
  };
  const Case cases[] = {
      {"Enter on the preselected Portuguese", u"preferred-2070", {DialogInput::Enter()}, u"2070"},
      {"Enter on the preselected English", u"Preferred-2070", {DialogInput::Enter()}, u"1033"},
      {"Enter after an empty preference", u"", {DialogInput::Enter()}, u"1033"},
      {"the mnemonic E", u"preferred-2070", {DialogInput::Command(kEnglish)}, u"1033"},
      {"the mnemonic P", u"x", {DialogInput::Command(kPortuguese)}, u"2070"},
      {"Esc or the Cancel button", u"preferred-2070", {DialogInput::Command(kCancel)}, u"cancel"},
      {"the close box or Alt+F4", u"preferred-2070", {DialogInput::Message(kWmClose)}, u"cancel"},
      {"IDOK and unknown identifiers first",
       u"x",
       {DialogInput::Command(1), DialogInput::Command(0), DialogInput::Command(110), DialogInput::Enter()},
       u"1033"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs_.Script(c.inputs);
    ExactEntry top(c.preference, 1024);
    ChooseOn(top, 1024);
    EXPECT_EQ(top.Text(), c.answer);
  }
}

TEST_F(ChooseTest, EachCallStartsAfreshFromThePushedTextAlone) {
  dialogs_.Script({DialogInput::Command(kEnglish)});
  ExactEntry first(u"preferred-2070", 1024);
  ChooseOn(first, 1024);
  ASSERT_EQ(first.Text(), u"1033");

  // The same preference again: Portuguese is preselected, whatever the last
  // answer was.
  dialogs_.ClearJournal();
  dialogs_.Script({DialogInput::Enter()});
  ExactEntry second(u"preferred-2070", 1024);
  ChooseOn(second, 1024);
  EXPECT_EQ(dialogs_.journal().front(), "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 2070)");
  EXPECT_EQ(second.Text(), u"2070");

  // A script that pushed nothing: the entry on top (the first call's answer,
  // not popped) is taken as the preference and overwritten.
  dialogs_.ClearJournal();
  dialogs_.Script({DialogInput::Command(kCancel)});
  ChooseOn(first, 1024);
  EXPECT_EQ(dialogs_.journal().front(), "DialogBoxParamW(0x7ff810000000, 101, 0x30042, 1033)");
  EXPECT_EQ(first.Text(), u"cancel");
}

}  // namespace
}  // namespace orvel::plugin
