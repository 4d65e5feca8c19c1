#include "plugin_host.h"

#include <cstddef>
#include <cstring>
#include <stdexcept>

#include "support/child_process.h"

namespace orvel::plugin::testing {

LoadedPlugin::LoadedPlugin()
    // Beside the host, or one folder up as in the release package; by its
    // full path, so that no other copy on the search path is loaded.
    : module_(::LoadLibraryW(orvel::wintest::FindProgram(L"ORVELIdioma.dll").c_str())),
      choose_(module_ == nullptr
                  ? nullptr
                  : reinterpret_cast<ChooseFunction>(reinterpret_cast<void*>(::GetProcAddress(module_, "Choose")))) {}

LoadedPlugin::~LoadedPlugin() {
  if (module_ != nullptr) ::FreeLibrary(module_);
}

HostEntry::HostEntry(std::wstring_view text, int capacity)
    : capacity_(capacity),
      storage_(new unsigned char[offsetof(HostStackEntry, text) + sizeof(wchar_t) * capacity]),
      entry_(reinterpret_cast<HostStackEntry*>(storage_.get())) {
  if (text.size() + 1 > static_cast<std::size_t>(capacity)) throw std::invalid_argument("the text does not fit");
  entry_->next = nullptr;
  const std::wstring units = UnitsOf(text, capacity);
  std::memcpy(storage_.get() + offsetof(HostStackEntry, text), units.data(), sizeof(wchar_t) * units.size());
}

std::wstring HostEntry::AllUnits() const {
  std::wstring units(static_cast<std::size_t>(capacity_), L'\0');
  std::memcpy(units.data(), storage_.get() + offsetof(HostStackEntry, text), sizeof(wchar_t) * units.size());
  return units;
}

std::wstring HostEntry::Text() const {
  const std::wstring units = AllUnits();
  return units.substr(0, units.find(L'\0'));
}

std::wstring HostEntry::UnitsOf(std::wstring_view text, int capacity) {
  std::wstring units(text);
  units.push_back(L'\0');
  units.resize(static_cast<std::size_t>(capacity), kMarker);
  return units;
}

}  // namespace orvel::plugin::testing
