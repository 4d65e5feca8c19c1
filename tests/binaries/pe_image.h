#pragma once
// A reader for the parts of a PE32+ image that the tests hold the
// deliverables to: subsystem, imports, exports and resources.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvel::pe {

// A resource type, name or language: a number, or a UTF-16 string.
struct ResourceId {
  bool isString = false;
  std::uint32_t number = 0;
  std::u16string text;

  static ResourceId Number(std::uint32_t n) { return ResourceId{false, n, {}}; }
  friend bool operator==(const ResourceId&, const ResourceId&) = default;
};

struct Resource {
  ResourceId type;
  ResourceId name;
  std::uint32_t language = 0;
  std::vector<std::uint8_t> data;
};

struct Export {
  std::string name;  // empty for an export by ordinal only
  std::uint32_t ordinal = 0;
};

struct Import {
  std::string dll;
  std::vector<std::string> functions;  // "#n" for an import by ordinal
};

struct Image {
  std::uint16_t machine = 0;
  std::uint16_t characteristics = 0;
  std::uint16_t subsystem = 0;
  bool isPe32Plus = false;
  std::vector<std::string> sectionNames;
  std::vector<Import> imports;
  std::string exportName;  // the DLL name recorded in the export directory
  std::vector<Export> exports;
  std::vector<Resource> resources;

  const Resource* FindResource(std::uint32_t type, std::uint32_t name) const;
};

// Reads the file; nothing when it is not a well-formed PE32+ image.
std::optional<Image> Load(const std::string& path, std::string* error = nullptr);
std::optional<Image> Parse(const std::vector<std::uint8_t>& bytes, std::string* error = nullptr);

// Resource type numbers.
constexpr std::uint32_t kBitmap = 2;
constexpr std::uint32_t kIcon = 3;
constexpr std::uint32_t kDialog = 5;
constexpr std::uint32_t kGroupIcon = 14;
constexpr std::uint32_t kManifest = 24;

constexpr std::uint16_t kSubsystemGui = 2;
constexpr std::uint16_t kSubsystemConsole = 3;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kCharacteristicDll = 0x2000;

}  // namespace orvel::pe
