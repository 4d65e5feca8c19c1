#pragma once
// Where the checks look for the programs they start. The release package
// keeps ORVELCapture.exe and ORVELIdioma.dll at its top and the checks in its
// check\ folder; the build keeps them all in one folder. Portable.

#include <string>
#include <vector>

namespace orvel::wintest {

// The folder part of a path, with its trailing separator ("C:\a\b\" for
// "C:\a\b\x.exe"); empty when the path has no separator.
std::wstring FolderOf(const std::wstring& path);

// The folders to look in, in order: the running program's own folder, then
// its parent (when it has one).
std::vector<std::wstring> ProgramFolders(const std::wstring& modulePath);

// "ORVELCapture.exe is not beside the checks (looked in A and B)", in UTF-8.
std::string NotFoundMessage(const std::wstring& fileName, const std::vector<std::wstring>& folders);

}  // namespace orvel::wintest
