#pragma once
// The numbers the chooser shares with its resources and its host. Each
// language identifier plays four parts at once: the control identifier of its
// button, the dialog's default-button identifier, the dialog's result and,
// written in decimal, the answer handed back to the installer script.

#include <cstdint>

namespace orvel::plugin {

inline constexpr int kPortuguese = 2070;  // 0x0816, Portuguese (Portugal)
inline constexpr int kEnglish = 1033;     // 0x0409, English (United States)
inline constexpr int kCancel = 2;         // IDCANCEL: Cancel, Esc, the close box, Alt+F4

inline constexpr std::uint16_t kChooseDialogTemplate = 101;
// The installer host keeps its application icon under this number.
inline constexpr std::uint16_t kHostIcon = 103;

}  // namespace orvel::plugin
