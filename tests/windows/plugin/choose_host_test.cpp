// ORVELIdioma.dll loaded with LoadLibraryW and called as an installer host
// calls it, with crafted stacks; a driver thread plays the user on the real
// dialog under Wine.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chooser_driver.h"
#include "plugin_host.h"

namespace orvel::plugin::testing {
namespace {

constexpr int kPortuguese = 2070;
constexpr int kEnglish = 1033;

class ChooseHostTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(plugin_.choose(), nullptr) << "ORVELIdioma.dll or its export Choose is missing"; }

  // Calls Choose with `stacktop` while the driver plays `act` on any dialog.
  DialogSeen CallChoose(HostStackEntry** stacktop, int stringSize, std::function<void(HWND, HWND)> act,
                        HWND owner = nullptr) {
    ChooserDriver driver(::GetCurrentThreadId(), std::move(act));
    plugin_.choose()(owner, stringSize, variables_.data(), stacktop, nullptr);
    const DialogSeen seen = driver.Finish();
    EXPECT_FALSE(seen.stuck) << "the action did not end the dialog";
    return seen;
  }
  DialogSeen CallChoose(HostEntry& entry, int stringSize, std::function<void(HWND, HWND)> act, HWND owner = nullptr) {
    HostStackEntry* top = entry.get();
    const DialogSeen seen = CallChoose(&top, stringSize, std::move(act), owner);
    EXPECT_EQ(top, entry.get()) << "Choose neither pushes nor pops";
    return seen;
  }

  LoadedPlugin plugin_;
  std::vector<wchar_t> variables_ = std::vector<wchar_t>(25 * 1024);  // ignored by Choose
};

TEST_F(ChooseHostTest, WithoutAStackOrRoomNothingIsShownOrWritten) {
  EXPECT_EQ(CallChoose(nullptr, 1024, PostClose()).window, nullptr) << "null stacktop";
  HostStackEntry* empty = nullptr;
  EXPECT_EQ(CallChoose(&empty, 1024, PostClose()).window, nullptr) << "empty stack";
  EXPECT_EQ(empty, nullptr);
  for (int stringSize : {0, -1}) {
    HostEntry entry(L"preferred-2070", 16);
    EXPECT_EQ(CallChoose(entry, stringSize, PostClose()).window, nullptr) << "string_size " << stringSize;
    EXPECT_EQ(entry.AllUnits(), HostEntry::UnitsOf(L"preferred-2070", 16)) << "string_size " << stringSize;
  }
}

// The pushed text decides the default button and the focus; Enter then
// answers with that language.
TEST_F(ChooseHostTest, ThePushedTextPreselectsALanguageThatEnterTakes) {
  struct Case {
    std::wstring preference;
    int preselected;
  };
  const Case cases[] = {{L"preferred-2070", kPortuguese},
                        {L"Preferred-2070", kEnglish},
                        {L"preferred-2070 ", kEnglish},
                        {L"preferred-1033", kEnglish},
                        {L"", kEnglish}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.preference.begin(), c.preference.end()));
    HostEntry entry(c.preference, 1024);
    const DialogSeen seen = CallChoose(entry, 1024, PressKeys({VK_RETURN}));
    ASSERT_NE(seen.window, nullptr);
    EXPECT_EQ(seen.defaultId, c.preselected);
    EXPECT_EQ(seen.focusId, c.preselected);
    EXPECT_EQ(entry.Text(), std::to_wstring(c.preselected));
  }
}

TEST_F(ChooseHostTest, EveryWayOutOfTheDialogGivesItsAnswer) {
  struct Case {
    const char* what;
    std::wstring preference;
    std::function<void(HWND, HWND)> act;
    std::wstring answer;
  };
  const Case cases[] = {
      {"the Portuguese button", L"x", PostCommand(kPortuguese), L"2070"},
      {"the English button", L"preferred-2070", PostCommand(kEnglish), L"1033"},
      {"the Cancel button", L"preferred-2070", PostCommand(IDCANCEL), L"cancel"},
      {"Esc", L"preferred-2070", PressKeys({VK_ESCAPE}), L"cancel"},
      {"Tab, Tab, Enter from Portuguese", L"preferred-2070", PressKeys({VK_TAB, VK_TAB, VK_RETURN}), L"cancel"},
      {"Tab, Enter from English", L"x", PressKeys({VK_TAB, VK_RETURN}), L"cancel"},
      {"Tab, Enter from Portuguese", L"preferred-2070", PressKeys({VK_TAB, VK_RETURN}), L"1033"},
      {"the close box or Alt+F4", L"preferred-2070", PostClose(), L"cancel"},
      {"the mnemonic P", L"x", TypeCharacter(L'p'), L"2070"},
      {"the mnemonic E", L"preferred-2070", TypeCharacter(L'e'), L"1033"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostEntry entry(c.preference, 1024);
    ASSERT_NE(CallChoose(entry, 1024, c.act).window, nullptr);
    EXPECT_EQ(entry.Text(), c.answer);
  }
}

TEST_F(ChooseHostTest, IdOkLeavesTheDialogOpen) {
  bool openAfterIdOk = false;
  HostEntry entry(L"x", 1024);
  CallChoose(entry, 1024, [&](HWND dialog, HWND) {
    // Sent, not posted: it has been handled when SendMessage returns.
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    openAfterIdOk = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kEnglish, BN_CLICKED), 0);
  });
  EXPECT_TRUE(openAfterIdOk);
  EXPECT_EQ(entry.Text(), L"1033");
}

// The kernel's bounded copy through the real export; the entry is exactly
// string_size units long and keeps its markers after the terminator.
TEST_F(ChooseHostTest, SmallStringSizesTruncateTheAnswer) {
  struct Case {
    int stringSize;
    int button;
    std::wstring written;
  };
  const Case cases[] = {{1, IDCANCEL, L""},       {4, kPortuguese, L"207"}, {4, kEnglish, L"103"},
                        {5, IDCANCEL, L"canc"},   {6, IDCANCEL, L"cance"},  {7, IDCANCEL, L"cancel"},
                        {5, kPortuguese, L"2070"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("string_size " + std::to_string(c.stringSize) + ", button " + std::to_string(c.button));
    HostEntry entry(L"", c.stringSize);
    ASSERT_NE(CallChoose(entry, c.stringSize, PostCommand(c.button)).window, nullptr);
    EXPECT_EQ(entry.AllUnits(), HostEntry::UnitsOf(c.written, c.stringSize));
  }
}

TEST_F(ChooseHostTest, TwoCallsInARowEachShowAFreshDialog) {
  HostEntry first(L"preferred-2070", 1024);
  const DialogSeen one = CallChoose(first, 1024, PostCommand(kEnglish));
  ASSERT_NE(one.window, nullptr);
  EXPECT_FALSE(::IsWindow(one.window)) << "the dialog is gone once Choose returns";
  EXPECT_EQ(first.Text(), L"1033");

  // The same text again: Portuguese, whatever the first answer was.
  HostEntry second(L"preferred-2070", 1024);
  const DialogSeen two = CallChoose(second, 1024, PressKeys({VK_RETURN}));
  ASSERT_NE(two.window, nullptr);
  EXPECT_EQ(two.defaultId, kPortuguese);
  EXPECT_EQ(two.focusId, kPortuguese);
  EXPECT_EQ(second.Text(), L"2070");
}

TEST_F(ChooseHostTest, AHostWithoutIcon103GetsADialogWithoutIcons) {
  ASSERT_EQ(::FindResourceW(nullptr, MAKEINTRESOURCEW(103), MAKEINTRESOURCEW(14)), nullptr)
      << "this test program must carry no icon 103";
  HostEntry entry(L"preferred-2070", 1024);
  const DialogSeen seen = CallChoose(entry, 1024, PressKeys({VK_RETURN}));
  ASSERT_NE(seen.window, nullptr);
  EXPECT_EQ(seen.bigIcon, nullptr);
  EXPECT_EQ(seen.smallIcon, nullptr);
  EXPECT_EQ(entry.Text(), L"2070");
}

TEST_F(ChooseHostTest, TheHostWindowOwnsTheDialogAndIsDisabledMeanwhile) {
  const HWND host =
      ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  HostEntry entry(L"x", 1024);
  const DialogSeen seen = CallChoose(entry, 1024, PostCommand(kPortuguese), host);
  ASSERT_NE(seen.window, nullptr);
  EXPECT_EQ(seen.owner, host);
  EXPECT_TRUE(seen.ownerDisabled);
  EXPECT_TRUE(::IsWindowEnabled(host)) << "enabled again afterwards";
  EXPECT_EQ(entry.Text(), L"2070");
  ::DestroyWindow(host);
}

TEST_F(ChooseHostTest, AnOwnerThatIsNotAWindowGivesError) {
  const HWND notAWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x00BAD0C0));
  ASSERT_FALSE(::IsWindow(notAWindow));
  HostEntry entry(L"preferred-2070", 1024);
  EXPECT_EQ(CallChoose(entry, 1024, PostClose(), notAWindow).window, nullptr);
  EXPECT_EQ(entry.Text(), L"error");
}

}  // namespace
}  // namespace orvel::plugin::testing
