// ORVELIdioma.dll as built, read as a file: one export, imports from the
// kernel and user libraries only, and exactly dialog 101 and bitmap 201,
// decoded field by field.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "dialog_template.h"
#include "pe_image.h"

namespace orvel::plugin {
namespace {

using testing::DialogItem;
using testing::NameOrNumber;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

class PluginImage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    image_ = new std::optional<pe::Image>(pe::Load(ORVEL_WINDOWS_BIN_DIR "/ORVELIdioma.dll", &error));
    error_ = error;
  }
  static void TearDownTestSuite() { delete image_; }
  void SetUp() override { ASSERT_TRUE(*image_) << error_; }
  const pe::Image& image() const { return **image_; }

  static std::optional<pe::Image>* image_;
  static std::string error_;
};
std::optional<pe::Image>* PluginImage::image_ = nullptr;
std::string PluginImage::error_;

TEST_F(PluginImage, IsA64BitDll) {
  EXPECT_EQ(image().machine, pe::kMachineAmd64);
  EXPECT_NE(image().characteristics & pe::kCharacteristicDll, 0);
}

TEST_F(PluginImage, ExportsOnlyChooseAtOrdinalOne) {
  EXPECT_EQ(image().exportName, "ORVELIdioma.dll");
  ASSERT_EQ(image().exports.size(), 1u);
  EXPECT_EQ(image().exports[0].name, "Choose");
  EXPECT_EQ(image().exports[0].ordinal, 1u);
}

// No C runtime and no compiler helpers: just the two system libraries, and
// from them only the calls the chooser makes.
TEST_F(PluginImage, ImportsOnlyFromKernel32AndUser32) {
  std::set<std::string> dlls, functions;
  for (const pe::Import& import : image().imports) {
    dlls.insert(Upper(import.dll));
    for (const std::string& function : import.functions) functions.insert(function);
  }
  EXPECT_EQ(dlls, (std::set<std::string>{"KERNEL32.DLL", "USER32.DLL"}));
  EXPECT_EQ(functions, (std::set<std::string>{"DialogBoxParamW", "EndDialog", "GetDlgItem", "GetModuleHandleW",
                                              "GetSystemMetrics", "LoadImageW", "SendMessageW", "SetFocus",
                                              "SetForegroundWindow", "lstrcmpW", "lstrcpynW"}));
}

TEST_F(PluginImage, CarriesExactlyDialog101AndBitmap201UnderTheNeutralLanguage) {
  ASSERT_EQ(image().resources.size(), 2u);
  std::set<std::pair<std::uint32_t, std::uint32_t>> found;
  for (const pe::Resource& r : image().resources) {
    ASSERT_FALSE(r.type.isString);
    ASSERT_FALSE(r.name.isString);
    EXPECT_EQ(r.language, 0u) << "type " << r.type.number << " name " << r.name.number;
    found.insert({r.type.number, r.name.number});
  }
  EXPECT_EQ(found, (std::set<std::pair<std::uint32_t, std::uint32_t>>{{pe::kDialog, 101}, {pe::kBitmap, 201}}));
}

TEST_F(PluginImage, Dialog101IsTheChooserTemplate) {
  const pe::Resource* resource = image().FindResource(pe::kDialog, 101);
  ASSERT_NE(resource, nullptr);
  std::string error;
  const auto dialog = testing::DecodeDialogTemplateEx(resource->data, &error);
  ASSERT_TRUE(dialog) << error;

  EXPECT_EQ(dialog->version, 1);
  EXPECT_EQ(dialog->signature, 0xFFFF);
  EXPECT_EQ(dialog->helpId, 0u);
  EXPECT_EQ(dialog->exStyle, 0u);
  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT,
  // not WS_VISIBLE.
  EXPECT_EQ(dialog->style, 0x80C808C0u);
  EXPECT_EQ(dialog->itemCount, 6);
  EXPECT_EQ(dialog->x, 0);
  EXPECT_EQ(dialog->y, 0);
  EXPECT_EQ(dialog->cx, 234);
  EXPECT_EQ(dialog->cy, 100);
  EXPECT_EQ(dialog->menu, NameOrNumber::Name(u""));
  EXPECT_EQ(dialog->windowClass, NameOrNumber::Name(u""));
  EXPECT_EQ(dialog->title, u"ORVEL \u00B7 Idioma / Language");
  EXPECT_EQ(dialog->pointSize, 9);
  EXPECT_EQ(dialog->weight, 0);
  EXPECT_EQ(dialog->italic, 0);
  EXPECT_EQ(dialog->charset, 1);  // DEFAULT_CHARSET
  EXPECT_EQ(dialog->typeface, u"Segoe UI");

  struct Expected {
    std::uint32_t id;
    NameOrNumber windowClass, title;
    std::uint32_t style;
    std::int16_t x, y, cx, cy;
  };
  const NameOrNumber kStatic = NameOrNumber::Number(0x0082);
  const NameOrNumber kButton = NameOrNumber::Number(0x0080);
  // In template order: the tab order and the z-order.
  const Expected expected[] = {
      {110, NameOrNumber::Name(u"STATIC"), NameOrNumber::Number(201), 0x5000004E, 10, 11, 48, 43},
      {0xFFFFFFFF, kStatic, NameOrNumber::Name(u"Escolhe o idioma do ORVEL."), 0x50020000, 70, 13, 154, 12},
      {0xFFFFFFFF, kStatic, NameOrNumber::Name(u"Choose your ORVEL language."), 0x50020000, 70, 27, 154, 12},
      {2070, kButton, NameOrNumber::Name(u"&Portugu\u00EAs"), 0x50010000, 70, 45, 70, 17},
      {1033, kButton, NameOrNumber::Name(u"&English"), 0x50010000, 148, 45, 70, 17},
      {2, kButton, NameOrNumber::Name(u"Cancelar / Cancel"), 0x50010000, 145, 75, 73, 16},
  };
  ASSERT_EQ(dialog->items.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE("control " + std::to_string(i + 1));
    const DialogItem& item = dialog->items[i];
    EXPECT_EQ(item.helpId, 0u);
    EXPECT_EQ(item.exStyle, 0u);
    EXPECT_EQ(item.style, expected[i].style);
    EXPECT_EQ(item.x, expected[i].x);
    EXPECT_EQ(item.y, expected[i].y);
    EXPECT_EQ(item.cx, expected[i].cx);
    EXPECT_EQ(item.cy, expected[i].cy);
    EXPECT_EQ(item.id, expected[i].id);
    EXPECT_EQ(item.windowClass, expected[i].windowClass);
    EXPECT_EQ(item.title, expected[i].title);
    EXPECT_EQ(item.extraCount, 0);
  }
  EXPECT_EQ(dialog->size, resource->data.size()) << "nothing after the last control";
}

TEST_F(PluginImage, Bitmap201IsA128Square24BitBottomUpDibOnTheDialogGrey) {
  const pe::Resource* resource = image().FindResource(pe::kBitmap, 201);
  ASSERT_NE(resource, nullptr);
  const std::vector<std::uint8_t>& dib = resource->data;
  ASSERT_EQ(dib.size(), 49192u);
  auto at = [&](std::size_t offset, auto value) {
    std::memcpy(&value, dib.data() + offset, sizeof value);
    return value;
  };
  // BITMAPINFOHEADER, and no colour table after it.
  EXPECT_EQ(at(0, std::uint32_t{}), 40u);      // biSize
  EXPECT_EQ(at(4, std::int32_t{}), 128);       // biWidth
  EXPECT_EQ(at(8, std::int32_t{}), 128);       // biHeight: positive, bottom-up
  EXPECT_EQ(at(12, std::uint16_t{}), 1);       // biPlanes
  EXPECT_EQ(at(14, std::uint16_t{}), 24);      // biBitCount
  EXPECT_EQ(at(16, std::uint32_t{}), 0u);      // biCompression: BI_RGB
  EXPECT_EQ(at(20, std::uint32_t{}), 49152u);  // biSizeImage: 128 rows of 384 bytes
  EXPECT_EQ(at(24, std::int32_t{}), 0);        // biXPelsPerMeter
  EXPECT_EQ(at(28, std::int32_t{}), 0);        // biYPelsPerMeter
  EXPECT_EQ(at(32, std::uint32_t{}), 0u);      // biClrUsed
  EXPECT_EQ(at(36, std::uint32_t{}), 0u);      // biClrImportant

  // Pixels are blue, green, red; row 0 in the file is the bottom row.
  auto pixel = [&](int column, int rowFromBottom) {
    const std::size_t offset =
        40 + 384 * static_cast<std::size_t>(rowFromBottom) + 3 * static_cast<std::size_t>(column);
    return std::array<int, 3>{dib[offset + 2], dib[offset + 1], dib[offset]};  // red, green, blue
  };
  const std::array<int, 3> surround{240, 240, 240};
  for (auto [column, row] : {std::pair{0, 0}, {127, 0}, {0, 127}, {127, 127}}) {
    EXPECT_EQ(pixel(column, row), surround) << column << "," << row;
  }
  // A logo, not a blank: the centre differs from the surround, and the
  // picture has more than a handful of colours.
  EXPECT_NE(pixel(64, 64), surround);
  std::set<std::array<int, 3>> colours;
  for (int row = 0; row < 128; ++row) {
    for (int column = 0; column < 128; ++column) colours.insert(pixel(column, row));
  }
  EXPECT_GT(colours.size(), 16u);
}

}  // namespace
}  // namespace orvel::plugin
