// The chooser in a real amd64-unicode installer, played the way a user plays
// it, with Win32 calls that work the same on Windows and under Wine: the
// dialog found by class, caption and owning process and brought to the
// front, keys sent with SendInput, clicks on the Cancel button and on the
// caption's close box. chooser-installer.exe pushes a sentinel and the
// preference, calls Choose, and writes the answer and the entry below it to
// a file named on its command line.
//
// The program stays DPI-unaware, as the installer is (neither declares
// otherwise), so both see the same coordinates and icon sizes.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "caption_icon.h"
#include "chooser_window.h"
#include "icon_pictures.h"
#include "installer_run.h"
#include "user_input.h"

namespace orvel::plugin::testing {
namespace {

constexpr DWORD kDialogWithinMilliseconds = 60000;
constexpr DWORD kEndWithinMilliseconds = 30000;
constexpr DWORD kPollMilliseconds = 20;
constexpr int kFocusMovesWithinPolls = 5000 / kPollMilliseconds;
constexpr int kCaptionSettlesWithinPolls = 3000 / kPollMilliseconds;
constexpr int kIcon103 = 103;
constexpr char kSentinel[] = "sentinel below the preference";

// What the user does to the dialog; returns an empty string or what went
// wrong before the dialog got the input.
using Action = std::function<std::wstring(HWND dialog)>;

HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Each chord pressed and released in turn. Every chord but the last must
// move the focus (Tab): the next one waits until it has, so it reaches the
// control that has the focus then.
Action Keys(std::vector<std::vector<WORD>> chords) {
  return [chords](HWND dialog) -> std::wstring {
    for (std::size_t k = 0; k < chords.size(); ++k) {
      const HWND before = FocusOf(dialog);
      const std::wstring error = PressChord(chords[k]);
      if (!error.empty() || k + 1 == chords.size()) return error;
      for (int poll = 0; poll < kFocusMovesWithinPolls && FocusOf(dialog) == before; ++poll) ::Sleep(kPollMilliseconds);
      if (FocusOf(dialog) == before) return L"the focus did not move after key " + std::to_wstring(k + 1);
    }
    return L"";
  };
}

Action ClickCancel() {
  return [](HWND dialog) -> std::wstring {
    const std::optional<POINT> centre = ControlCentre(dialog, IDCANCEL);
    if (!centre) return L"the dialog has no Cancel button";
    return ClickAt(*centre, ::GetDlgItem(dialog, IDCANCEL));
  };
}

Action ClickCloseBox() {
  return [](HWND dialog) -> std::wstring {
    const std::optional<POINT> centre = CloseBoxCentre(dialog);
    if (!centre) return L"no close box found along the caption";
    return ClickAt(*centre, dialog);
  };
}

class InstallerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { folder_ = new AnswerFolder(); }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  void SetUp() override {
    std::wstring error;
    installer_ = FindChooserInstaller(error);
    ASSERT_FALSE(installer_.empty()) << error;
    ASSERT_TRUE(folder_->ready()) << "no folder for the answer file at " << folder_->path();
  }

  // Runs the installer with `preference`, plays `act` on its dialog once it
  // is in front, waits for the installer to end and reads what it wrote.
  void Play(const std::wstring& preference, const Action& act, InstallerAnswer& written) {
    std::wstring error = ParkPointer();
    ASSERT_TRUE(error.empty()) << error;
    InstallerRun run(installer_, preference, folder_->path() + L"\\answer.txt");
    ASSERT_TRUE(run.startError().empty()) << run.startError();
    const HWND dialog = run.WaitForDialog(kDialogWithinMilliseconds, error);
    ASSERT_NE(dialog, nullptr) << error;
    error = BringToForeground(dialog);
    ASSERT_TRUE(error.empty()) << error;
    // One round of the dialog's message loop, so that what its showing left
    // queued (activation, the X server's focus and keyboard reports under
    // Wine) is handled before the first input.
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored))
        << "the dialog does not answer messages";
    error = act(dialog);
    ASSERT_TRUE(error.empty()) << error;
    if (!run.WaitForEnd(kEndWithinMilliseconds)) {
      const std::wstring front = DescribeWindow(::GetForegroundWindow());
      const bool open = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
      const std::wstring state = open ? DescribeInputState(dialog) : L"";
      run.Kill();
      FAIL() << "the installer was still running " << kEndWithinMilliseconds << " ms after the input and was killed; "
             << (open ? "its dialog was still open" : "its dialog was gone") << ", in front: " << front << "; "
             << state;
    }
    EXPECT_EQ(run.exitCode(), 0u);
    written = run.ReadAnswer();
    ASSERT_TRUE(written.error.empty()) << written.error;
  }

  static AnswerFolder* folder_;
  std::wstring installer_;
};

AnswerFolder* InstallerTest::folder_ = nullptr;

struct PlayCase {
  const char* name;
  std::wstring preference;
  Action act;
  std::string answer;
};

// Test names carry the case; print only that.
void PrintTo(const PlayCase& c, std::ostream* os) { *os << c.name; }

class InstallerPlayTest : public InstallerTest, public ::testing::WithParamInterface<PlayCase> {};

// Whatever the user does, the answer replaces the preference and the entry
// below it comes back exactly, with nothing else left on the stack.
TEST_P(InstallerPlayTest, WritesTheAnswerAndLeavesTheStackBelowAlone) {
  const PlayCase& c = GetParam();
  InstallerAnswer written;
  ASSERT_NO_FATAL_FAILURE(Play(c.preference, c.act, written));
  EXPECT_EQ(written.answer, c.answer);
  EXPECT_EQ(written.below, kSentinel);
  EXPECT_EQ(written.rest, "empty");
}

INSTANTIATE_TEST_SUITE_P(
    Chooser, InstallerPlayTest,
    ::testing::Values(PlayCase{"EnterOnPreselectedPortuguese", L"preferred-2070", Keys({{VK_RETURN}}), "2070"},
                      PlayCase{"EnterAfterCapitalisedPreference", L"Preferred-2070", Keys({{VK_RETURN}}), "1033"},
                      PlayCase{"EnterAfterEmptyPreference", L"", Keys({{VK_RETURN}}), "1033"},
                      PlayCase{"EnterAfterPreferred1033", L"preferred-1033", Keys({{VK_RETURN}}), "1033"},
                      PlayCase{"Escape", L"preferred-2070", Keys({{VK_ESCAPE}}), "cancel"},
                      PlayCase{"TabTabEnterOnCancel", L"preferred-2070", Keys({{VK_TAB}, {VK_TAB}, {VK_RETURN}}),
                               "cancel"},
                      PlayCase{"ClickCancel", L"preferred-2070", ClickCancel(), "cancel"},
                      PlayCase{"AltF4", L"preferred-2070", Keys({{VK_MENU, VK_F4}}), "cancel"},
                      PlayCase{"ClickCloseBox", L"preferred-2070", ClickCloseBox(), "cancel"},
                      PlayCase{"MnemonicP", L"other", Keys({{'P'}}), "2070"},
                      PlayCase{"MnemonicE", L"preferred-2070", Keys({{'E'}}), "1033"}),
    [](const ::testing::TestParamInfo<PlayCase>& info) { return std::string(info.param.name); });

// The installer as a file of resources, for its icon 103.
class ResourceFile {
 public:
  explicit ResourceFile(const std::wstring& path)
      : module_(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~ResourceFile() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

class LoadedIcon {
 public:
  LoadedIcon(HMODULE module, int size)
      : icon_(static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(kIcon103), IMAGE_ICON, size, size, 0))) {}
  ~LoadedIcon() {
    if (icon_ != nullptr) ::DestroyIcon(icon_);
  }
  LoadedIcon(const LoadedIcon&) = delete;
  LoadedIcon& operator=(const LoadedIcon&) = delete;
  HICON get() const { return icon_; }

 private:
  HICON icon_;
};

// WM_GETICON, or nothing when the platform does not carry the message to
// the dialog's process.
std::optional<HICON> IconOf(HWND dialog, WPARAM kind) {
  DWORD_PTR icon = 0;
  if (!::SendMessageTimeoutW(dialog, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 2000, &icon)) return std::nullopt;
  return reinterpret_cast<HICON>(icon);
}

// Both icons of the dialog are the installer's icon 103. The plug-in loads
// them shared, and a shared load may hand back the large image for the small
// size too, so the small icon may be either image.
void ExpectIconsFromHandles(HICON big, HICON small, const LoadedIcon& large, const LoadedIcon& little) {
  ASSERT_NE(big, nullptr) << "the dialog has no large icon";
  ASSERT_NE(small, nullptr) << "the dialog has no small icon";
  EXPECT_EQ(PictureOf(big), PictureOf(large.get())) << "the large icon is not icon 103 at SM_CXICON";
  const IconPicture shown = PictureOf(small);
  EXPECT_TRUE(shown == PictureOf(little.get()) || shown == PictureOf(large.get())) << "the small icon is not icon 103";
}

// Without WM_GETICON: the dialog's caption shows icon 103 as a window of
// this process draws it with the same icons. Only the icon's own pixels are
// compared (where a reference differs from the blank caption): under Wine the
// dialog's caption was now and then left drawn inactive after the reference
// windows had been in front (twice in 60 runs, with the dialog the foreground
// window), which changes the caption's colour around the icon, not the icon.
void ExpectIconInCaption(HWND dialog, const LoadedIcon& large, const LoadedIcon& little) {
  const ReferenceCaptions references = DrawReferenceCaptions(dialog, large.get(), little.get());
  ASSERT_TRUE(references.error.empty()) << references.error;
  const MaskedDifference withoutIcon =
      DifferenceWhereDrawn(references.withoutIcon, references.largeOnly, references.blank);
  ASSERT_GT(withoutIcon.differing, 0u)
      << "this platform draws no caption icon for the dialog's style: the caption cannot show the icon";
  const std::wstring error = BringToForeground(dialog);
  ASSERT_TRUE(error.empty()) << error;
  // The caption repaints as the dialog comes to the front again.
  MaskedDifference drawnSmall, drawnLarge;
  bool matches = false;
  for (int poll = 0; poll < kCaptionSettlesWithinPolls && !matches; ++poll) {
    ::Sleep(kPollMilliseconds);
    const std::optional<RECT> area = CaptionIconArea(dialog);
    ASSERT_TRUE(area.has_value()) << "the dialog has no caption";
    const Picture shown = ScreenPicture(*area);
    drawnSmall = DifferenceWhereDrawn(shown, references.largeAndSmall, references.blank);
    drawnLarge = DifferenceWhereDrawn(shown, references.largeOnly, references.blank);
    matches = (drawnSmall.compared > 0 && drawnSmall.differing == 0) ||
              (drawnLarge.compared > 0 && drawnLarge.differing == 0);
  }
  EXPECT_TRUE(matches) << "the caption's icon area differs from icon 103 drawn small in " << drawnSmall.differing
                       << " of its " << drawnSmall.compared << " pixels, from icon 103 drawn large in "
                       << drawnLarge.differing << " of " << drawnLarge.compared
                       << "; a caption without icon differs in " << withoutIcon.differing << " of "
                       << withoutIcon.compared;
}

TEST_F(InstallerTest, TheDialogShowsTheInstallersIcon103) {
  const ResourceFile resources(installer_);
  ASSERT_NE(resources.get(), nullptr) << "the installer cannot be read as a file of resources";
  ASSERT_NE(::FindResourceW(resources.get(), MAKEINTRESOURCEW(kIcon103), MAKEINTRESOURCEW(14)), nullptr)
      << "the installer has no icon group 103";
  const LoadedIcon large(resources.get(), ::GetSystemMetrics(SM_CXICON));
  const LoadedIcon little(resources.get(), ::GetSystemMetrics(SM_CXSMICON));
  ASSERT_NE(large.get(), nullptr);
  ASSERT_NE(little.get(), nullptr);

  InstallerAnswer written;
  ASSERT_NO_FATAL_FAILURE(Play(
      L"preferred-2070",
      [&](HWND dialog) -> std::wstring {
        const std::optional<HICON> big = IconOf(dialog, ICON_BIG);
        const std::optional<HICON> small = IconOf(dialog, ICON_SMALL);
        if (big && small) {
          ExpectIconsFromHandles(*big, *small, large, little);
        } else {
          std::cout << "WM_GETICON is not answered across processes here: checking the caption instead\n";
          ExpectIconInCaption(dialog, large, little);
        }
        const std::wstring error = BringToForeground(dialog);
        return error.empty() ? PressChord({VK_ESCAPE}) : error;
      },
      written));
  EXPECT_EQ(written.answer, "cancel");
  EXPECT_EQ(written.below, kSentinel);
}

}  // namespace
}  // namespace orvel::plugin::testing
