#include "report_files.h"

#include <windows.h>

namespace orvel::wintest {
namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

bool Write(const std::wstring& path, const std::string& bytes, DWORD access, DWORD disposition) {
  const HANDLE file =
      ::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, bytes);
  if (!::CloseHandle(file)) ok = false;
  return ok;
}

bool IsDrivePath(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
}

}  // namespace

std::wstring ReportPath(const std::wstring& folder, const std::wstring& fileName) {
  std::wstring path = folder;
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  path += fileName;
  // Past MAX_PATH only the \\?\ form reaches the file; it takes no '/'.
  if (path.size() >= MAX_PATH && IsDrivePath(path)) {
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    path.insert(0, L"\\\\?\\");
  }
  return path;
}

bool AppendToFile(const std::wstring& path, const std::string& bytes) {
  // FILE_APPEND_DATA alone: every write lands at the end, even when several
  // check programs append to the same file.
  return Write(path, bytes, FILE_APPEND_DATA, OPEN_ALWAYS);
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  return Write(path, bytes, GENERIC_WRITE, CREATE_ALWAYS);
}

std::string LastErrorText() { return "error " + std::to_string(::GetLastError()); }

}  // namespace orvel::wintest
