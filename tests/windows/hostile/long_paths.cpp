#include "long_paths.h"

#include <windows.h>

#include <cstdio>

namespace orvel::wintest {

std::wstring TemporaryFolder() {
  std::wstring folder(::GetTempPathW(0, nullptr), L'\0');
  folder.resize(::GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

std::wstring Unlimited(const std::wstring& path) { return L"\\\\?\\" + path; }

std::vector<std::wstring> MakeFolderChain(const std::wstring& base, const std::wstring& segment, std::size_t length) {
  std::vector<std::wstring> chain{base};
  while (chain.back().size() < length) chain.push_back(chain.back() + L"\\" + segment);
  for (const std::wstring& folder : chain) {
    if (!::CreateDirectoryW(Unlimited(folder).c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
      return {};
    }
  }
  return chain;
}

void RemoveFolderChain(const std::vector<std::wstring>& chain) {
  for (auto folder = chain.rbegin(); folder != chain.rend(); ++folder) {
    ::RemoveDirectoryW(Unlimited(*folder).c_str());
  }
}

bool ExistsAtAnyLength(const std::wstring& path) {
  return ::GetFileAttributesW(Unlimited(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteAtAnyLength(const std::wstring& path) { ::DeleteFileW(Unlimited(path).c_str()); }

bool RuntimeCreates(const std::wstring& path) {
  std::FILE* file = ::_wfopen(path.c_str(), L"wb");
  if (file == nullptr) return false;
  std::fclose(file);
  DeleteAtAnyLength(path);
  return true;
}

}  // namespace orvel::wintest
