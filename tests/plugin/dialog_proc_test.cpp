// ChooseDialogProc message by message, against a fake dialog manager that
// records every call in order.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chooser_ids.h"
#include "dialog_proc.h"
#include "fake_dialog_manager.h"

namespace orvel::plugin {
namespace {

using testing::FakeDialogManager;
using Calls = std::vector<std::string>;

constexpr WindowHandle kDialog = FakeDialogManager::kDialog;

std::uintptr_t CommandWParam(std::uintptr_t notification, std::uintptr_t id) { return notification << 16 | id; }

class DialogProcTest : public ::testing::Test {
 protected:
  std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    return ChooseDialogProc(dialogs_, kDialog, message, wParam, lParam);
  }
  FakeDialogManager dialogs_;
};

// Icons from the host (big, then small, each loaded square at the width
// metric), then the default button, the foreground and the focus, all for the
// language that came in lParam. FALSE: the focus is already placed.
TEST_F(DialogProcTest, InitDialogSetsIconsDefaultButtonForegroundAndFocusInOrder) {
  for (int preselected : {kPortuguese, kEnglish}) {
    SCOPED_TRACE(preselected);
    dialogs_.ClearJournal();
    EXPECT_EQ(Send(kWmInitDialog, 0, preselected), kFalse);
    const std::string id = std::to_string(preselected);
    EXPECT_EQ(dialogs_.journal(), (Calls{
                                      "GetModuleHandleW(null)",
                                      "GetSystemMetrics(11)",
                                      "LoadImageW(0x140000000, 103, 1, 48, 48, 0x8000)",
                                      "SendMessageW(0xd1a0, 0x80, 1, 0x1c0b)",
                                      "GetSystemMetrics(49)",
                                      "LoadImageW(0x140000000, 103, 1, 20, 20, 0x8000)",
                                      "SendMessageW(0xd1a0, 0x80, 0, 0x1c05)",
                                      "SendMessageW(0xd1a0, 0x401, " + id + ", null)",
                                      "SetForegroundWindow(0xd1a0)",
                                      "GetDlgItem(0xd1a0, " + id + ")",
                                      "SetFocus(" + testing::Hex(FakeDialogManager::kControlBase + preselected) + ")",
                                  }));
  }
}

TEST_F(DialogProcTest, InitDialogGoesOnWhenTheHostHasNoIcon) {
  dialogs_.iconsBySize.clear();
  EXPECT_EQ(Send(kWmInitDialog, 0, kEnglish), kFalse);
  const Calls& calls = dialogs_.journal();
  ASSERT_EQ(calls.size(), 11u);
  EXPECT_EQ(calls[3], "SendMessageW(0xd1a0, 0x80, 1, null)") << "a null icon is set";
  EXPECT_EQ(calls[6], "SendMessageW(0xd1a0, 0x80, 0, null)");
  EXPECT_EQ(calls[10], "SetFocus(" + testing::Hex(FakeDialogManager::kControlBase + kEnglish) + ")");
}

TEST_F(DialogProcTest, CloseEndsTheDialogAsCancel) {
  EXPECT_EQ(Send(kWmClose), kTrue);
  EXPECT_EQ(dialogs_.journal(), Calls{"EndDialog(0xd1a0, 2)"});
}

// Only the low word counts: the notification code in the high word, and on
// 64 bits anything above it, leaves the identifier as it is.
TEST_F(DialogProcTest, CommandFromALanguageButtonOrCancelEndsTheDialogWithItsIdentifier) {
  for (int id : {kPortuguese, kEnglish, kCancel}) {
    for (std::uintptr_t notification : {0x0000u, 0x0001u, 0xFFFFu, 0x12340005u}) {
      SCOPED_TRACE("id " + std::to_string(id) + ", high bits " + testing::Hex(notification));
      dialogs_.ClearJournal();
      EXPECT_EQ(Send(kWmCommand, CommandWParam(notification, static_cast<std::uintptr_t>(id))), kTrue);
      EXPECT_EQ(dialogs_.journal(), Calls{"EndDialog(0xd1a0, " + std::to_string(id) + ")"});
    }
  }
}

TEST_F(DialogProcTest, CommandWithAnyOtherIdentifierLeavesTheDialogOpen) {
  // IDOK (1) among them: Enter with no button focused must not end the dialog.
  for (std::uintptr_t id : {0u, 1u, 3u, 110u, 0xFFFFu, 2071u, 1034u, 0x0816u + 1, 0x0409u - 1}) {
    EXPECT_EQ(Send(kWmCommand, id), kFalse) << id;
  }
  EXPECT_TRUE(dialogs_.journal().empty());
}

TEST_F(DialogProcTest, OtherMessagesAreLeftToTheDialogManager) {
  // WM_NULL, WM_DESTROY, WM_PAINT, WM_SETFONT, WM_KEYDOWN, WM_SYSCOMMAND,
  // WM_CTLCOLORSTATIC, WM_NCDESTROY, DM_GETDEFID, a WM_USER message.
  for (std::uint32_t message :
       {0x0000u, 0x0002u, 0x000Fu, 0x0030u, 0x0100u, 0x0112u, 0x0138u, 0x0082u, 0x0400u, 0x0402u}) {
    EXPECT_EQ(Send(message, kPortuguese, kPortuguese), kFalse) << testing::Hex(message);
  }
  EXPECT_TRUE(dialogs_.journal().empty());
}

}  // namespace
}  // namespace orvel::plugin
