// The plug-in's Choose driven with any stack the host can hand over, any
// string_size, any preference text and any way the dialog ends, against the
// fake dialog manager (running the real dialog procedure when the dialog is
// scripted) and the portable kernel strings.
//
// What a host can hand over: every entry is allocated with exactly
// string_size code units after its link, and its text is always terminated
// within them (the host copies texts in with a bounded copy of that size).
// Entries here are allocated exactly so, so AddressSanitizer stops any access
// past an entry's text. string_size is kept to at most 4096 when it is
// positive; zero and negative values are passed as they come, with entries
// just large enough for their texts.
//
// Input: 15 control bytes (see Controls), then one NUL-separated text per
// entry, top first (see FuzzInput::Text), then the dialog script in records
// of 3 bytes (see ReadScript).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "choose.h"
#include "chooser_ids.h"
#include "exact_entry.h"
#include "fake_dialog_manager.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "portable_strings.h"

namespace orvel::fuzz {
namespace {

using plugin::ModuleHandle;
using plugin::StackEntry;
using plugin::WindowHandle;
using plugin::testing::DialogInput;
using plugin::testing::ExactEntry;
using plugin::testing::FakeDialogManager;

constexpr int kMaxStringSize = 4096;
constexpr std::size_t kMaxEntries = 4;
constexpr std::size_t kMaxScript = 32;
constexpr ModuleHandle kPlugin = static_cast<ModuleHandle>(0x7FF810000000);
constexpr WindowHandle kOwner = static_cast<WindowHandle>(0x30042);

enum class Shape { kNoStack, kEmptyStack, kEntries };

struct Controls {
  Shape shape;
  std::size_t entries;  // with Shape::kEntries: 1 to 4
  int stringSize;
  bool exactPreference;  // the top text is "preferred-2070" itself
  bool scripted;         // the real dialog procedure runs with the script below
  WindowHandle owner;
  std::intptr_t dialogResult;  // what DialogBoxParamW returns when not scripted
};

Controls ReadControls(FuzzInput& in) {
  Controls c{};
  const std::size_t shape = in.Byte() % (kMaxEntries + 2);
  c.shape = shape == 0 ? Shape::kNoStack : shape == 1 ? Shape::kEmptyStack : Shape::kEntries;
  c.entries = shape < 2 ? 0 : shape - 1;
  const auto raw = static_cast<std::int32_t>(in.U32());
  c.stringSize = raw > 0 ? 1 + (raw - 1) % kMaxStringSize : raw;
  const std::uint8_t flags = in.Byte();
  c.exactPreference = flags & 0x01;
  c.scripted = flags & 0x02;
  c.owner = flags & 0x04 ? WindowHandle::kNone : kOwner;
  const std::uint8_t choice = in.Byte() % 6;
  const auto rawResult = static_cast<std::intptr_t>(in.U64());
  const std::intptr_t results[] = {plugin::kPortuguese, plugin::kEnglish, plugin::kCancel, -1, 0, rawResult};
  c.dialogResult = results[choice];
  return c;
}

// Records of 3 bytes: a kind and a 16-bit value. The dialog manager never
// sends WM_INITDIALOG twice, so "other" messages avoid the three the
// procedure handles; a WM_CLOSE always ends the script, as the user must
// leave the dialog somehow.
std::vector<DialogInput> ReadScript(FuzzInput& in) {
  std::vector<DialogInput> script;
  while (script.size() < kMaxScript && in.remaining() >= 3) {
    const std::uint8_t kind = in.Byte();
    const std::uint16_t value = in.U16();
    switch (kind % 4) {
      case 0:  // a command: any notification code in the high word
        script.push_back(DialogInput::Message(plugin::kWmCommand, std::uintptr_t{kind} >> 2 << 16 | value));
        break;
      case 1:
        script.push_back(DialogInput::Message(plugin::kWmClose));
        break;
      case 2:
        script.push_back(DialogInput::Enter());
        break;
      default: {
        std::uint32_t message = value;
        if (message == plugin::kWmClose || message == plugin::kWmInitDialog || message == plugin::kWmCommand) {
          message += 0x1000;
        }
        script.push_back(DialogInput::Message(message, value));
      }
    }
  }
  script.push_back(DialogInput::Message(plugin::kWmClose));
  return script;
}

bool IsAnswer(std::intptr_t id) { return id == plugin::kPortuguese || id == plugin::kEnglish || id == plugin::kCancel; }

// How the scripted dialog ends: the first language button or Cancel, the
// close box, or Enter on the preselected button, which has the focus.
std::intptr_t ScriptedResult(const std::vector<DialogInput>& script, int preselected) {
  for (const DialogInput& input : script) {
    if (input.kind == DialogInput::kEnter) return preselected;
    if (input.message == plugin::kWmClose) return plugin::kCancel;
    if (input.message == plugin::kWmCommand && IsAnswer(static_cast<std::intptr_t>(input.wParam & 0xFFFF))) {
      return static_cast<std::intptr_t>(input.wParam & 0xFFFF);
    }
  }
  return -1;  // not reached: the script ends with WM_CLOSE
}

std::u16string AnswerFor(std::intptr_t result) {
  switch (result) {
    case plugin::kPortuguese:
      return u"2070";
    case plugin::kEnglish:
      return u"1033";
    case plugin::kCancel:
      return u"cancel";
    default:
      return u"error";
  }
}

std::string DialogCall(WindowHandle owner, int preselected) {
  using plugin::testing::Hex;
  return "DialogBoxParamW(" + Hex(static_cast<std::uintptr_t>(kPlugin)) + ", 101, " +
         Hex(static_cast<std::uintptr_t>(owner)) + ", " + std::to_string(preselected) + ")";
}

}  // namespace
}  // namespace orvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvel::fuzz;
  using orvel::plugin::StackEntry;

  FuzzInput in(data, size);
  const Controls controls = ReadControls(in);

  // The texts, top first, cut to what an entry of string_size units holds.
  std::vector<std::u16string> texts;
  for (std::size_t i = 0; i < controls.entries; ++i) {
    std::u16string text;
    in.Text(&text);
    if (i == 0 && controls.exactPreference) text = orvel::plugin::kPreferPortuguese;
    if (controls.stringSize > 0 && text.size() >= static_cast<std::size_t>(controls.stringSize)) {
      text.resize(static_cast<std::size_t>(controls.stringSize) - 1);
    }
    texts.push_back(text);
  }
  const std::vector<DialogInput> script = ReadScript(in);

  // The stack, built from the bottom up.
  std::vector<std::unique_ptr<ExactEntry>> entries(texts.size());
  StackEntry* below = nullptr;
  for (std::size_t i = texts.size(); i-- > 0;) {
    const int capacity = controls.stringSize > 0 ? controls.stringSize : static_cast<int>(texts[i].size()) + 1;
    entries[i] = std::make_unique<ExactEntry>(texts[i], capacity, below);
    below = entries[i]->get();
  }
  std::vector<std::vector<char16_t>> before;
  std::vector<StackEntry*> links;
  for (const auto& entry : entries) {
    before.push_back(entry->Units());
    links.push_back(entry->get()->next);
  }
  StackEntry* top = entries.empty() ? nullptr : entries[0]->get();
  StackEntry* stack = top;

  FakeDialogManager dialogs;
  dialogs.dialogResult = controls.dialogResult;
  if (controls.scripted) dialogs.Script(script);
  orvel::plugin::PortableStrings strings;

  orvel::plugin::Choose(dialogs, strings, kPlugin, controls.owner, controls.stringSize,
                        controls.shape == Shape::kNoStack ? nullptr : &stack);

  // Choose never pushes, pops or relinks, and never writes below the top.
  FUZZ_CHECK(stack == top);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    FUZZ_CHECK(entries[i]->get()->next == links[i]);
    if (i > 0) FUZZ_CHECK(entries[i]->Units() == before[i]);
  }
  const bool shows = controls.shape == Shape::kEntries && controls.stringSize > 0;
  if (!shows) {
    // No stack, an empty stack or no room: nothing shown, nothing written.
    FUZZ_CHECK(dialogs.journal().empty());
    if (!entries.empty()) FUZZ_CHECK(entries[0]->Units() == before[0]);
    return 0;
  }

  const int preselected =
      texts[0] == orvel::plugin::kPreferPortuguese ? orvel::plugin::kPortuguese : orvel::plugin::kEnglish;
  FUZZ_CHECK(!dialogs.journal().empty() && dialogs.journal().front() == DialogCall(controls.owner, preselected));
  FUZZ_CHECK(std::count_if(dialogs.journal().begin(), dialogs.journal().end(),
                           [](const std::string& call) { return call.rfind("DialogBoxParamW(", 0) == 0; }) == 1);
  FUZZ_CHECK(dialogs.unendedDialogs() == 0);

  // The answer, cut to string_size - 1 units and terminated; every unit
  // after the terminator keeps what the host left there.
  const std::u16string answer =
      AnswerFor(controls.scripted ? ScriptedResult(script, preselected) : controls.dialogResult);
  const std::size_t kept = std::min(answer.size(), static_cast<std::size_t>(controls.stringSize) - 1);
  std::vector<char16_t> expected = before[0];
  for (std::size_t i = 0; i < kept; ++i) expected[i] = answer[i];
  expected[kept] = u'\0';
  FUZZ_CHECK(entries[0]->Units() == expected);
  return 0;
}
