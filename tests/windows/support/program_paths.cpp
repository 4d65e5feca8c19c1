#include "program_paths.h"

#include "wide_text.h"

namespace orvel::wintest {

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

std::vector<std::wstring> ProgramFolders(const std::wstring& modulePath) {
  std::vector<std::wstring> folders;
  const std::wstring own = FolderOf(modulePath);
  if (own.empty()) return folders;
  folders.push_back(own);
  // The parent, unless the program sits at the top of a drive or share.
  const std::wstring parent = FolderOf(own.substr(0, own.size() - 1));
  if (parent.find_first_not_of(L"\\/") != std::wstring::npos) {
    folders.push_back(parent);
  }
  return folders;
}

std::string NotFoundMessage(const std::wstring& fileName, const std::vector<std::wstring>& folders) {
  std::string message = Utf8(fileName) + " is not beside the checks (looked in ";
  for (std::size_t i = 0; i < folders.size(); ++i) {
    if (i > 0) message += i + 1 == folders.size() ? " and " : ", ";
    message += Utf8(folders[i]);
  }
  return message + ")";
}

}  // namespace orvel::wintest
