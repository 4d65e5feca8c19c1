// ORVELCapture.exe as built: a 64-bit GUI-subsystem program with no
// resources that imports only system DLLs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "pe_image.h"

namespace orvel {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

TEST(CaptureImage, IsA64BitGuiProgramWithoutResourcesImportingOnlySystemDlls) {
  std::string error;
  const auto image = pe::Load(ORVEL_WINDOWS_BIN_DIR "/ORVELCapture.exe", &error);
  ASSERT_TRUE(image) << error;
  EXPECT_EQ(image->machine, pe::kMachineAmd64);
  EXPECT_EQ(image->subsystem, pe::kSubsystemGui);
  EXPECT_EQ(image->characteristics & pe::kCharacteristicDll, 0);
  EXPECT_TRUE(image->resources.empty()) << "no resources, not even a manifest";

  // What every 64-bit Windows since 7 has in its system folder. The Windows
  // Runtime and the Direct3D interop entry points are looked up at run time,
  // so no import can keep the program from starting.
  const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll",
                                        "msvcrt.dll",   "d3d11.dll",  "dxgi.dll",  "ole32.dll"};
  const std::set<std::string> lateBound = {"CreateDirect3D11DeviceFromDXGIDevice",
                                           "RoInitialize",
                                           "RoUninitialize",
                                           "RoGetActivationFactory",
                                           "WindowsCreateString",
                                           "WindowsDeleteString"};
  std::set<std::string> imported;
  for (const pe::Import& import : image->imports) {
    imported.insert(Lower(import.dll));
    EXPECT_TRUE(system.count(Lower(import.dll))) << "unexpected import " << import.dll;
    for (const std::string& function : import.functions) EXPECT_FALSE(lateBound.count(function)) << function;
  }
  EXPECT_TRUE(imported.count("kernel32.dll"));
  EXPECT_EQ(image->exports.size(), 0u);
}

}  // namespace
}  // namespace orvel
