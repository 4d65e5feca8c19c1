#pragma once
// Folders and files whose paths pass MAX_PATH. The tests set them up and
// tear them down through "\\?\" paths, which every Windows accepts at any
// length, so that only the helper meets the plain long path.

#include <string>
#include <vector>

namespace orvel::wintest {

// The temporary folder, with its trailing separator.
std::wstring TemporaryFolder();

// `path` (absolute, with a drive) in the "\\?\" form that skips the length limit.
std::wstring Unlimited(const std::wstring& path);

// A chain of nested folders under `base`, each named by `segment`, until the
// deepest one's path is at least `length` characters long. Creates them
// (and `base`); returns every folder from `base` to the deepest, outermost
// first; empty when one could not be made.
std::vector<std::wstring> MakeFolderChain(const std::wstring& base, const std::wstring& segment, std::size_t length);
// Removes the folders of a chain, innermost first (they must be empty).
void RemoveFolderChain(const std::vector<std::wstring>& chain);

bool ExistsAtAnyLength(const std::wstring& path);
void DeleteAtAnyLength(const std::wstring& path);

// Whether this process's runtime creates a file at `path` with _wfopen and
// "wb", the way the helper opens its timestamp file. Deletes what it made.
bool RuntimeCreates(const std::wstring& path);

}  // namespace orvel::wintest
