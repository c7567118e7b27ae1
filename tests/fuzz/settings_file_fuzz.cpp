// The settings loader on arbitrary file contents: it must not crash or hang, must leave the file
// as it was and unlocked, and must load exactly the ratio that its steps give for the lines that a
// plain splitter finds in the bytes.

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/number_text.h"
#include "conversion/scale_state.h"
#include "files/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace fs = std::filesystem;

namespace {

// The loader keeps this much of each line (it reads the rest past unkept).
constexpr std::size_t kKeptLineBytes = 64 * 1024;

// A folder of our own for the settings file, removed at exit.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "vantrelo-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            Require(false, "cannot make a scratch folder", pattern);
        }
        path_ = pattern;
        fs::create_directory(path_ / "Assets");
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// The scratch folder is the current directory only while one input is tried, because libFuzzer
// reads the corpus files by the paths it was given, which may be relative.
class InScratchFolder {
  public:
    explicit InScratchFolder(const ScratchFolder& folder) : previous_(fs::current_path()) {
        fs::current_path(folder.path());
    }
    ~InScratchFolder() { fs::current_path(previous_); }
    InScratchFolder(const InScratchFolder&) = delete;
    InScratchFolder& operator=(const InScratchFolder&) = delete;

  private:
    fs::path previous_;
};

// Lines as a reader meets them: each ends at LF, CR, CR LF or a zero byte; a last line may end
// with the file. Each is cut to what the loader keeps.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r' &&
               bytes[end] != '\0') {
            ++end;
        }
        lines.push_back(bytes.substr(start, std::min(end - start, kKeptLineBytes)));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
            bytes[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

// After the last line every read gives an empty text.
std::string_view LineAt(const std::vector<std::string_view>& lines, std::size_t index) {
    return index < lines.size() ? lines[index] : std::string_view();
}

bool Same(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b);
    }
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// Whether the value is a default or what ParseDecimal reads from one of the lines.
bool FromDefaultOrALine(float value, float byDefault, const std::vector<std::string_view>& lines) {
    if (Same(value, byDefault) || Same(value, 0.0f)) {
        return true;  // 0 also stands for a value line missing at the end of the file
    }
    for (const std::string_view line : lines) {
        if (Same(value, ParseDecimal(line))) {
            return true;
        }
    }
    return false;
}

// The ratio that the steps give: the header first, then each block only at its own place.
ScaleState ExpectedRatio(const std::vector<std::string_view>& lines) {
    ScaleState expected;
    expected.originalScale = 1.0f;
    expected.modelScale = 87.0f;
    if (LineAt(lines, 0) != "Korvane Init File") {
        return expected;
    }
    std::size_t next = 1;
    if (LineAt(lines, next) == "Original-Scale:") {
        expected.originalScale = ParseDecimal(LineAt(lines, next + 1));
        next += 2;
    } else {
        next += 1;
    }
    if (LineAt(lines, next) == "Model-Scale:") {
        expected.modelScale = ParseDecimal(LineAt(lines, next + 1));
    }
    return expected;
}

std::string ReadBack(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Unlocked(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder folder;
    const InScratchFolder here(folder);
    const std::string_view bytes = InputText(data, size);
    {
        std::ofstream out(kSettingsFilePath, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    // Values that neither the defaults nor the steps give, so that a skipped step shows.
    ScaleState loaded{-3.0f, -4.0f, 250.0f, 2.5f};
    LoadSettings(loaded);

    const std::vector<std::string_view> lines = SplitLines(bytes);
    const std::string what = Printable(bytes.substr(0, 200)) + (bytes.size() > 200 ? "..." : "");
    Require(FromDefaultOrALine(loaded.originalScale, 1.0f, lines),
            "originalScale is neither 1 nor a line's number",
            what + " gave " + Describe(loaded.originalScale));
    Require(FromDefaultOrALine(loaded.modelScale, 87.0f, lines),
            "modelScale is neither 87 nor a line's number",
            what + " gave " + Describe(loaded.modelScale));
    const ScaleState expected = ExpectedRatio(lines);
    Require(Same(loaded.originalScale, expected.originalScale) &&
                Same(loaded.modelScale, expected.modelScale),
            "the loaded ratio is not the one the steps give",
            what + " gave " + Describe(loaded.originalScale) + " : " + Describe(loaded.modelScale) +
                ", expected " + Describe(expected.originalScale) + " : " +
                Describe(expected.modelScale));
    Require(loaded.originalSize == 250.0f && loaded.modelSize == 2.5f,
            "loading the settings changed a size", what);
    Require(ReadBack(kSettingsFilePath) == bytes, "loading the settings changed the file", what);
    Require(Unlocked(kSettingsFilePath), "the settings file is still locked after loading", what);
    return 0;
}
