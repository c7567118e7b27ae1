#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

// Every file named, and every file in a folder named, in a fixed order.
std::vector<fs::path> InputFiles(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path named = argv[i];
        if (fs::is_directory(named)) {
            for (const auto& entry : fs::directory_iterator(named)) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
        } else {
            files.push_back(named);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// Without libFuzzer the target replays its seed corpus once, input by input, so that every build
// checks the corpus in a few milliseconds. A missing or empty corpus is an error, not a pass.
int main(int argc, char** argv) {
    const std::vector<fs::path> files = InputFiles(argc, argv);
    for (const fs::path& file : files) {
        const std::vector<std::uint8_t> bytes = ReadBytes(file);
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...: no input found\n", argv[0]);
        return 1;
    }
    std::fprintf(stderr, "replayed %zu inputs without a finding\n", files.size());
    return 0;
}
