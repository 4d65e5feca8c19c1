// Timestamp paths a parent may really pass: spaces and characters outside
// ASCII (a user's profile folder), and paths longer than MAX_PATH.

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "helper_run.h"
#include "long_paths.h"
#include "stallable_reader.h"
#include "support/pattern_window.h"
#include "support/wide_text.h"

namespace orvel::wintest {
namespace {

constexpr std::size_t kTimeBytes = 8;

// The names in a folder, without "." and "..".
std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

TEST(TimestampPath, SpacesAndNonAsciiCharactersReachTheFileUnchanged) {
  // e with acute, u with diaeresis, a CJK ideograph: outside every ANSI code
  // page together, so a narrow conversion anywhere on the way shows.
  const std::wstring folder = TemporaryFolder() + L"orvel times \u00e9 \u00fc \u540d";
  const std::wstring name = L"frame times \u00e9 \u540d.bin";
  const std::wstring path = folder + L"\\" + name;
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
      << "cannot make the folder " << Utf8(folder);
  for (const std::wstring& leftover : FolderEntries(folder)) ::DeleteFileW((folder + L"\\" + leftover).c_str());

  PatternWindow window;
  StallableReader reader(1280, 720);
  {
    HelperRun run(window, reader, RunSettings{2.0, path});
    ASSERT_TRUE(run.FinishByEndTime(20.0)) << "the helper did not end";
    EXPECT_EQ(run.exitCode(), 0u) << "stderr: " << run.errors();
  }

  const std::vector<std::wstring> entries = FolderEntries(folder);
  ASSERT_EQ(entries.size(), 1u) << "one file, under exactly the name given";
  EXPECT_EQ(Utf8(entries[0]), Utf8(name));
  EXPECT_GT(reader.frames().records(), 0u);
  EXPECT_EQ(ReadFileBytes(path).size(), kTimeBytes * reader.frames().records()) << "8 bytes per record";
  for (const std::wstring& entry : entries) ::DeleteFileW((folder + L"\\" + entry).c_str());
  ::RemoveDirectoryW(folder.c_str());
}

// A path past MAX_PATH that no Windows and no Wine can create.
struct UncreatablePath {
  const char* name;
  std::wstring (*make)(const std::wstring& unique);
};

void PrintTo(const UncreatablePath& c, std::ostream* os) { *os << c.name; }

class LongTimestampPath : public ::testing::TestWithParam<UncreatablePath> {};

TEST_P(LongTimestampPath, UncreatableGives4AndNoFile) {
  const std::wstring unique = std::to_wstring(::GetCurrentProcessId());
  const std::wstring path = GetParam().make(unique);
  ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
  PatternWindow window;
  StallableReader reader(1280, 720);
  HelperRun run(window, reader, RunSettings{2.0, path});
  ASSERT_TRUE(run.Finish(20000)) << "the helper did not end";

  EXPECT_EQ(run.exitCode(), 4u) << "stderr: " << run.errors();
  EXPECT_FALSE(ExistsAtAnyLength(path)) << "a file was created";
  EXPECT_EQ(run.outputBytes(), 0u) << "nothing goes out when the file cannot be made";
  EXPECT_EQ(run.errors(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LongTimestampPath,
    ::testing::Values(
        // The folders do not exist; nothing creates them.
        UncreatablePath{"InAMissingFolder",
                        [](const std::wstring& unique) {
                          std::wstring path = TemporaryFolder() + L"orvel-missing-" + unique;
                          while (path.size() < 300) path += L"\\" + std::wstring(40, L'm');
                          return path + L"\\times.bin";
                        }},
        // One name of 300 characters: longer than any file system's 255.
        UncreatablePath{"NameLongerThan255",
                        [](const std::wstring&) { return TemporaryFolder() + std::wstring(300, L'n') + L".bin"; }}),
    [](const ::testing::TestParamInfo<UncreatablePath>& info) { return std::string(info.param.name); });

// Existing folders, a path of about 300 characters. Whether the runtime opens
// such a path depends on the system (long paths enabled and the program
// declared long-path aware; Wine opens them), so this program asks its own
// runtime first: like the helper it is built by the same toolchain and
// carries no manifest. The helper must then do the same: create the file and
// run normally, or give 4 and leave nothing.
TEST(LongTimestampPath, InExistingFoldersTheHelperDoesWhatTheRuntimeDoes) {
  const std::vector<std::wstring> chain = MakeFolderChain(
      TemporaryFolder() + L"orvel-deep-" + std::to_wstring(::GetCurrentProcessId()), std::wstring(40, L'd'), 290);
  ASSERT_FALSE(chain.empty()) << "cannot make the deep folders";
  const std::wstring path = chain.back() + L"\\times.bin";
  ASSERT_GT(path.size(), static_cast<std::size_t>(MAX_PATH));
  const bool creatable = RuntimeCreates(path);
  std::printf("a %zu-character path in existing folders: the runtime %s it\n", path.size(),
              creatable ? "creates" : "refuses");

  PatternWindow window;
  StallableReader reader(1280, 720);
  {
    HelperRun run(window, reader, RunSettings{2.0, path});
    ASSERT_TRUE(run.FinishByEndTime(20.0)) << "the helper did not end";
    if (creatable) {
      EXPECT_EQ(run.exitCode(), 0u) << "stderr: " << run.errors();
      EXPECT_GT(reader.frames().records(), 0u);
      EXPECT_EQ(ReadFileBytes(Unlimited(path)).size(), kTimeBytes * reader.frames().records());
    } else {
      EXPECT_EQ(run.exitCode(), 4u) << "stderr: " << run.errors();
      EXPECT_FALSE(ExistsAtAnyLength(path)) << "a file was created";
      EXPECT_EQ(run.outputBytes(), 0u);
    }
  }
  DeleteAtAnyLength(path);
  RemoveFolderChain(chain);
}

}  // namespace
}  // namespace orvel::wintest
