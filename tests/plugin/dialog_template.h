#pragma once
// A decoder for extended dialog templates (DLGTEMPLATEEX with its
// DLGITEMTEMPLATEEX items), as a dialog resource stores them.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvel::plugin::testing {

// A field that holds either a number (0xFFFF, then the number) or a
// NUL-terminated UTF-16 name; an empty name stands for "none".
struct NameOrNumber {
  bool isNumber = false;
  std::uint16_t number = 0;
  std::u16string name;

  static NameOrNumber Number(std::uint16_t n) { return {true, n, {}}; }
  static NameOrNumber Name(std::u16string text) { return {false, 0, std::move(text)}; }
  friend bool operator==(const NameOrNumber&, const NameOrNumber&) = default;
};

struct DialogItem {
  std::uint32_t helpId = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0;
  NameOrNumber windowClass;
  NameOrNumber title;
  std::uint16_t extraCount = 0;
};

struct DialogTemplate {
  std::uint16_t version = 0;
  std::uint16_t signature = 0;
  std::uint32_t helpId = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::uint16_t itemCount = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrNumber menu;
  NameOrNumber windowClass;
  std::u16string title;
  // Present when the style has DS_SETFONT.
  std::uint16_t pointSize = 0;
  std::uint16_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t charset = 0;
  std::u16string typeface;
  std::vector<DialogItem> items;
  std::size_t size = 0;  // bytes up to the end of the last item's creation data
};

// Nothing when the bytes are not an extended template or end too early.
std::optional<DialogTemplate> DecodeDialogTemplateEx(const std::vector<std::uint8_t>& bytes, std::string* error);

}  // namespace orvel::plugin::testing
