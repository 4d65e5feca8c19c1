#include "dialog_template.h"

#include <cstring>
#include <stdexcept>

namespace orvel::plugin::testing {
namespace {

constexpr std::uint32_t kDsSetFont = 0x40;

class Cursor {
 public:
  explicit Cursor(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  template <class T>
  T Read() {
    if (at_ + sizeof(T) > bytes_.size()) throw std::runtime_error("the template ends early");
    T value;
    std::memcpy(&value, bytes_.data() + at_, sizeof(T));
    at_ += sizeof(T);
    return value;
  }
  std::u16string Text() {
    std::u16string text;
    for (char16_t unit = Read<char16_t>(); unit != u'\0'; unit = Read<char16_t>()) text.push_back(unit);
    return text;
  }
  NameOrNumber Field() {
    const auto first = Read<std::uint16_t>();
    if (first == 0xFFFF) return NameOrNumber::Number(Read<std::uint16_t>());
    if (first == 0) return NameOrNumber::Name({});
    return NameOrNumber::Name(static_cast<char16_t>(first) + Text());
  }
  // Items start on a 4-byte boundary from the template's start.
  void AlignToDword() { at_ = (at_ + 3) & ~std::size_t{3}; }
  std::size_t at() const { return at_; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<DialogTemplate> DecodeDialogTemplateEx(const std::vector<std::uint8_t>& bytes, std::string* error) {
  try {
    Cursor in(bytes);
    DialogTemplate t;
    t.version = in.Read<std::uint16_t>();
    t.signature = in.Read<std::uint16_t>();
    if (t.version != 1 || t.signature != 0xFFFF) throw std::runtime_error("not an extended dialog template");
    t.helpId = in.Read<std::uint32_t>();
    t.exStyle = in.Read<std::uint32_t>();
    t.style = in.Read<std::uint32_t>();
    t.itemCount = in.Read<std::uint16_t>();
    t.x = in.Read<std::int16_t>();
    t.y = in.Read<std::int16_t>();
    t.cx = in.Read<std::int16_t>();
    t.cy = in.Read<std::int16_t>();
    t.menu = in.Field();
    t.windowClass = in.Field();
    t.title = in.Text();
    if (t.style & kDsSetFont) {
      t.pointSize = in.Read<std::uint16_t>();
      t.weight = in.Read<std::uint16_t>();
      t.italic = in.Read<std::uint8_t>();
      t.charset = in.Read<std::uint8_t>();
      t.typeface = in.Text();
    }
    for (std::uint16_t i = 0; i < t.itemCount; ++i) {
      in.AlignToDword();
      DialogItem item;
      item.helpId = in.Read<std::uint32_t>();
      item.exStyle = in.Read<std::uint32_t>();
      item.style = in.Read<std::uint32_t>();
      item.x = in.Read<std::int16_t>();
      item.y = in.Read<std::int16_t>();
      item.cx = in.Read<std::int16_t>();
      item.cy = in.Read<std::int16_t>();
      item.id = in.Read<std::uint32_t>();
      item.windowClass = in.Field();
      item.title = in.Field();
      item.extraCount = in.Read<std::uint16_t>();
      for (std::uint16_t k = 0; k < item.extraCount; ++k) in.Read<std::uint8_t>();
      t.items.push_back(std::move(item));
    }
    t.size = in.at();
    return t;
  } catch (const std::exception& e) {
    if (error != nullptr) *error = e.what();
    return std::nullopt;
  }
}

}  // namespace orvel::plugin::testing
