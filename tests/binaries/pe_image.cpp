#include "pe_image.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace orvel::pe {
namespace {

struct Section {
  std::uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  template <class T>
  T At(std::size_t offset) const {
    if (offset + sizeof(T) > bytes_.size()) throw std::runtime_error("read past the end of the file");
    T value;
    std::memcpy(&value, bytes_.data() + offset, sizeof(T));
    return value;
  }
  std::string CString(std::size_t offset) const {
    std::string text;
    while (true) {
      const char c = At<char>(offset++);
      if (c == 0) return text;
      text.push_back(c);
    }
  }
  std::vector<std::uint8_t> Bytes(std::size_t offset, std::size_t size) const {
    if (offset + size > bytes_.size()) throw std::runtime_error("data past the end of the file");
    return std::vector<std::uint8_t>(bytes_.begin() + offset, bytes_.begin() + offset + size);
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
};

struct Parser {
  const Reader& in;
  std::vector<Section> sections;

  std::size_t Offset(std::uint32_t rva) const {
    for (const Section& s : sections) {
      const std::uint32_t extent = std::max(s.virtualSize, s.rawSize);
      if (rva >= s.virtualAddress && rva < s.virtualAddress + extent) return s.rawOffset + (rva - s.virtualAddress);
    }
    throw std::runtime_error("address outside every section");
  }

  void ReadImports(std::uint32_t rva, Image& image) const {
    for (std::size_t d = Offset(rva);; d += 20) {
      const auto lookup = in.At<std::uint32_t>(d);
      const auto nameRva = in.At<std::uint32_t>(d + 12);
      const auto thunk = in.At<std::uint32_t>(d + 16);
      if (nameRva == 0) break;
      Import import{in.CString(Offset(nameRva)), {}};
      for (std::size_t t = Offset(lookup != 0 ? lookup : thunk);; t += 8) {
        const auto entry = in.At<std::uint64_t>(t);
        if (entry == 0) break;
        if (entry >> 63) {
          import.functions.push_back("#" + std::to_string(entry & 0xFFFF));
        } else {
          import.functions.push_back(in.CString(Offset(static_cast<std::uint32_t>(entry)) + 2));
        }
      }
      image.imports.push_back(std::move(import));
    }
  }

  void ReadExports(std::uint32_t rva, Image& image) const {
    const std::size_t d = Offset(rva);
    image.exportName = in.CString(Offset(in.At<std::uint32_t>(d + 12)));
    const auto base = in.At<std::uint32_t>(d + 16);
    const auto functionCount = in.At<std::uint32_t>(d + 20);
    const auto nameCount = in.At<std::uint32_t>(d + 24);
    const auto functions = in.At<std::uint32_t>(d + 28);
    const auto names = in.At<std::uint32_t>(d + 32);
    const auto ordinals = in.At<std::uint32_t>(d + 36);
    std::vector<std::string> nameOf(functionCount);
    for (std::uint32_t i = 0; i < nameCount; ++i) {
      const auto index = in.At<std::uint16_t>(Offset(ordinals) + 2 * i);
      if (index < functionCount) nameOf[index] = in.CString(Offset(in.At<std::uint32_t>(Offset(names) + 4 * i)));
    }
    for (std::uint32_t i = 0; i < functionCount; ++i) {
      if (in.At<std::uint32_t>(Offset(functions) + 4 * i) == 0) continue;
      image.exports.push_back(Export{nameOf[i], base + i});
    }
  }

  ResourceId ReadId(std::size_t root, std::uint32_t field) const {
    if ((field & 0x80000000u) == 0) return ResourceId::Number(field);
    const std::size_t at = root + (field & 0x7FFFFFFFu);
    const auto length = in.At<std::uint16_t>(at);
    ResourceId id{true, 0, {}};
    for (std::uint16_t i = 0; i < length; ++i)
      id.text.push_back(static_cast<char16_t>(in.At<std::uint16_t>(at + 2 + 2 * i)));
    return id;
  }

  // Walks type -> name -> language -> data, the three levels of the tree.
  void ReadResources(std::uint32_t rva, Image& image) const {
    const std::size_t root = Offset(rva);
    auto entries = [&](std::size_t directory, auto&& visit) {
      const std::size_t count =
          std::size_t{in.At<std::uint16_t>(directory + 12)} + in.At<std::uint16_t>(directory + 14);
      for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 16 + 8 * i;
        visit(in.At<std::uint32_t>(entry), in.At<std::uint32_t>(entry + 4));
      }
    };
    entries(root, [&](std::uint32_t typeField, std::uint32_t typeTarget) {
      const ResourceId type = ReadId(root, typeField);
      entries(root + (typeTarget & 0x7FFFFFFFu), [&](std::uint32_t nameField, std::uint32_t nameTarget) {
        const ResourceId name = ReadId(root, nameField);
        entries(root + (nameTarget & 0x7FFFFFFFu), [&](std::uint32_t language, std::uint32_t dataTarget) {
          const std::size_t data = root + dataTarget;
          const auto dataRva = in.At<std::uint32_t>(data);
          const auto size = in.At<std::uint32_t>(data + 4);
          image.resources.push_back(Resource{type, name, language, in.Bytes(Offset(dataRva), size)});
        });
      });
    });
  }
};

}  // namespace

const Resource* Image::FindResource(std::uint32_t type, std::uint32_t name) const {
  for (const Resource& r : resources) {
    if (r.type == ResourceId::Number(type) && r.name == ResourceId::Number(name)) return &r;
  }
  return nullptr;
}

std::optional<Image> Parse(const std::vector<std::uint8_t>& bytes, std::string* error) {
  try {
    Reader in(bytes);
    if (in.At<std::uint16_t>(0) != 0x5A4D) throw std::runtime_error("no MZ header");
    const auto pe = in.At<std::uint32_t>(0x3C);
    if (in.At<std::uint32_t>(pe) != 0x00004550) throw std::runtime_error("no PE signature");
    Image image;
    image.machine = in.At<std::uint16_t>(pe + 4);
    const auto sectionCount = in.At<std::uint16_t>(pe + 6);
    const auto optionalSize = in.At<std::uint16_t>(pe + 20);
    image.characteristics = in.At<std::uint16_t>(pe + 22);
    const std::size_t optional = pe + 24;
    image.isPe32Plus = in.At<std::uint16_t>(optional) == 0x20B;
    if (!image.isPe32Plus) throw std::runtime_error("not PE32+");
    image.subsystem = in.At<std::uint16_t>(optional + 68);
    const std::size_t directories = optional + 112;
    const auto directoryCount = in.At<std::uint32_t>(optional + 108);

    Parser parser{in, {}};
    const std::size_t sectionTable = optional + optionalSize;
    for (std::size_t i = 0; i < sectionCount; ++i) {
      const std::size_t s = sectionTable + 40 * i;
      char name[9] = {};
      for (int k = 0; k < 8; ++k) name[k] = in.At<char>(s + k);
      image.sectionNames.emplace_back(name);
      parser.sections.push_back(Section{in.At<std::uint32_t>(s + 12), in.At<std::uint32_t>(s + 8),
                                        in.At<std::uint32_t>(s + 20), in.At<std::uint32_t>(s + 16)});
    }
    auto directoryRva = [&](std::uint32_t index) -> std::uint32_t {
      return index < directoryCount ? in.At<std::uint32_t>(directories + 8 * index) : 0;
    };
    if (const auto rva = directoryRva(0)) parser.ReadExports(rva, image);
    if (const auto rva = directoryRva(1)) parser.ReadImports(rva, image);
    if (const auto rva = directoryRva(2)) parser.ReadResources(rva, image);
    return image;
  } catch (const std::exception& e) {
    if (error != nullptr) *error = e.what();
    return std::nullopt;
  }
}

std::optional<Image> Load(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error != nullptr) *error = "cannot open " + path;
    return std::nullopt;
  }
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return Parse(bytes, error);
}

}  // namespace orvel::pe
