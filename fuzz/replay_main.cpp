// Replays a fuzz target's corpus in the ordinary native build: every file of
// the folders (or the files) given on the command line goes once through
// LLVMFuzzerTestOneInput, in name order. A broken invariant aborts, as it
// would under libFuzzer; an empty or missing corpus is a failure too.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path path = argv[i];
    if (fs::is_directory(path)) {
      for (const fs::directory_entry& entry : fs::directory_iterator(path))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    } else if (fs::is_regular_file(path)) {
      inputs.push_back(path);
    } else {
      std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
      return 2;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "replay: no inputs\n");
    return 2;
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& path : inputs) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // A name on stderr first, so that a crash shows which input caused it.
    std::fprintf(stderr, "replay: %s (%zu bytes)\n", path.filename().c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replay: %zu inputs, no invariant broken\n", inputs.size());
  return 0;
}
