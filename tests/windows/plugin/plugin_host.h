#pragma once
// The plug-in loaded the way an installer host loads it, and installer stack
// entries laid out the way the host lays them out.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

namespace orvel::plugin::testing {

struct HostStackEntry {
  HostStackEntry* next;
  wchar_t text[1];  // string_size units in the allocation
};

using ChooseFunction = void(__cdecl*)(HWND hwndParent, int string_size, wchar_t* variables, HostStackEntry** stacktop,
                                      void* extra);

// ORVELIdioma.dll from the test program's folder, loaded for the object's
// lifetime.
class LoadedPlugin {
 public:
  LoadedPlugin();
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  HMODULE module() const { return module_; }
  ChooseFunction choose() const { return choose_; }

 private:
  HMODULE module_;
  ChooseFunction choose_;
};

// An entry of exactly `capacity` units holding `text`; units after the
// terminator hold a marker.
class HostEntry {
 public:
  static constexpr wchar_t kMarker = 0xFEFE;
  HostEntry(std::wstring_view text, int capacity);
  HostStackEntry* get() { return entry_; }
  std::wstring Text() const;      // up to the terminator
  std::wstring AllUnits() const;  // every unit, terminators and markers included
  static std::wstring UnitsOf(std::wstring_view text, int capacity);

 private:
  int capacity_;
  std::unique_ptr<unsigned char[]> storage_;
  HostStackEntry* entry_;
};

}  // namespace orvel::plugin::testing
