#include "files/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "widget_test_support.h"

namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

const std::string kHeader = "Korvane Init File\r\n";
const std::string kOriginalKey = "Original-Scale:\r\n";
const std::string kModelKey = "Model-Scale:\r\n";

// The file as the program writes it, with the two value lines as given.
std::string SettingsBytes(const std::string& original, const std::string& model) {
    return kHeader + kOriginalKey + original + "\r\n" + kModelKey + model + "\r\n";
}

// NaN never equals itself, yet "NaN" in the file must read back as NaN.
bool SameValue(float a, float b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

// Another holder of the file, as a second running copy of the program would be: its own open
// file description with an exclusive flock on it.
class HeldLock {
  public:
    explicit HeldLock(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~HeldLock() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    bool locked() const { return locked_; }

  private:
    int fd_;
    bool locked_ = false;
};

bool CanLockNow(const std::string& path) {
    return HeldLock(path).locked();
}

const float kInfinity = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

enum class OnDisk { Nothing, Bytes, Directory, LockedBytes };

struct LoadCase {
    const char* name;
    OnDisk onDisk;
    std::string bytes;
    float originalScale;
    float modelScale;
};

// A line of 4076 bytes after the 19-byte header puts its CR on the last byte of a 4 KiB read and
// its LF on the first byte of the next one.
const std::string kLineAcrossReads(4076, 'x');

// clang-format off
const LoadCase kLoads[] = {
    // Without a readable header the defaults stand.
    {"no file",                  OnDisk::Nothing,     "",                                                   1, 87},
    {"empty file",               OnDisk::Bytes,       "",                                                   1, 87},
    {"header only",              OnDisk::Bytes,       kHeader,                                              1, 87},
    {"header without line end",  OnDisk::Bytes,       "Korvane Init File",                                  1, 87},
    {"header in other case",     OnDisk::Bytes,       "korvane init file\r\n" + kOriginalKey + "25\r\n" + kModelKey + "100\r\n", 1, 87},
    {"blank after header",       OnDisk::Bytes,       "Korvane Init File \r\n" + kOriginalKey + "25\r\n" + kModelKey + "100\r\n", 1, 87},
    {"byte-order mark",          OnDisk::Bytes,       "\xEF\xBB\xBF" + SettingsBytes("25", "100"),          1, 87},
    {"binary junk",              OnDisk::Bytes,       "\x7F\xFF\xFE\x01\x02\x80\x9F\r"s,                    1, 87},
    {"directory in its place",   OnDisk::Directory,   "",                                                   1, 87},
    {"held by another",          OnDisk::LockedBytes, SettingsBytes("25", "100"),                           1, 87},
    // Each block is looked for only where it belongs.
    {"both blocks",              OnDisk::Bytes,       SettingsBytes("25", "100"),                           25, 100},
    {"original value then end",  OnDisk::Bytes,       kHeader + kOriginalKey + "25\r\n",                    25, 87},
    {"original key then end",    OnDisk::Bytes,       kHeader + kOriginalKey,                               0, 87},
    {"original key, no line end", OnDisk::Bytes,      kHeader + "Original-Scale:",                          0, 87},
    {"model block second",       OnDisk::Bytes,       kHeader + kModelKey + "100\r\n",                      1, 87},
    {"model block after other",  OnDisk::Bytes,       kHeader + "Scale:\r\n" + kModelKey + "100\r\n",       1, 100},
    {"blank before a key",       OnDisk::Bytes,       kHeader + " Original-Scale:\r\n25\r\n" + kModelKey + "100\r\n", 1, 87},
    {"model key in lower case",  OnDisk::Bytes,       kHeader + kOriginalKey + "25\r\nmodel-scale:\r\n100\r\n", 25, 87},
    {"lines after the fifth",    OnDisk::Bytes,       SettingsBytes("25", "100") + kOriginalKey + "5\r\n" + kModelKey + "6\r\n", 25, 100},
    // Values are taken as ParseDecimal reads them: no "," for ".", no sign cleared, no range check.
    {"comma stops the number",   OnDisk::Bytes,       SettingsBytes("1,5", "100"),                          1, 100},
    {"negative",                 OnDisk::Bytes,       SettingsBytes("-2", "-0.5"),                          -2, -0.5f},
    {"float digits",             OnDisk::Bytes,       SettingsBytes("1.6000000238", "87"),                  1.6f, 87},
    {"zero",                     OnDisk::Bytes,       SettingsBytes("0", "0"),                              0, 0},
    {"not a number",             OnDisk::Bytes,       SettingsBytes("abc", ""),                             0, 0},
    {"words",                    OnDisk::Bytes,       SettingsBytes("nan", "+INFINITY"),                    kNaN, kInfinity},
    {"minus infinity",           OnDisk::Bytes,       SettingsBytes("1", "-Infinity"),                      1, -kInfinity},
    // Every line end a reader can meet.
    {"LF only",                  OnDisk::Bytes,       "Korvane Init File\nOriginal-Scale:\n25\nModel-Scale:\n100\n", 25, 100},
    {"CR only",                  OnDisk::Bytes,       "Korvane Init File\rOriginal-Scale:\r25\rModel-Scale:\r100\r", 25, 100},
    {"mixed line ends",          OnDisk::Bytes,       "Korvane Init File\rOriginal-Scale:\n25\r\nModel-Scale:\r100", 25, 100},
    {"zero bytes as line ends",  OnDisk::Bytes,       "Korvane Init File\0Original-Scale:\0" "25\0Model-Scale:\0" "100\0"s, 25, 100},
    {"CR LF across two reads",   OnDisk::Bytes,       kHeader + kLineAcrossReads + "\r\n" + kModelKey + "100\r\n", 1, 100},
};
// clang-format on

TEST(LoadSettings, SetsTheDefaultsThenWhatTheFileHoldsInItsPlace) {
    for (const LoadCase& row : kLoads) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory dir;
        fs::create_directories("Assets");
        if (row.onDisk == OnDisk::Directory) {
            fs::create_directory(kSettingsFilePath);
        } else if (row.onDisk != OnDisk::Nothing) {
            WriteFileBytes(kSettingsFilePath, row.bytes);
        }
        const HeldLock other(row.onDisk == OnDisk::LockedBytes ? kSettingsFilePath : "");
        ASSERT_EQ(other.locked(), row.onDisk == OnDisk::LockedBytes);

        // Values that are neither the defaults nor in any file: each must be overwritten.
        ScaleState state{3.0f, 4.0f, 250.0f, 2.5f};
        LoadSettings(state);

        EXPECT_TRUE(SameValue(state.originalScale, row.originalScale)) << state.originalScale;
        EXPECT_TRUE(SameValue(state.modelScale, row.modelScale)) << state.modelScale;
        EXPECT_EQ(state.originalSize, 250.0f);
        EXPECT_EQ(state.modelSize, 2.5f);
        if (row.onDisk == OnDisk::Bytes || row.onDisk == OnDisk::LockedBytes) {
            EXPECT_EQ(ReadFileBytes(kSettingsFilePath), row.bytes);
        }
    }
}

TEST(LoadSettings, ReleasesTheFileWhenDone) {
    ScopedWorkingDirectory dir;
    WriteFileBytes(kSettingsFilePath, SettingsBytes("25", "100"));
    ScaleState state;
    LoadSettings(state);
    EXPECT_TRUE(CanLockNow(kSettingsFilePath));
}

// A damaged file of 50 MB must neither be held in memory whole nor change what is read around it.
TEST(LoadSettings, ReadsPastAHugeLine) {
    const std::string huge(50u << 20, 'x');
    struct HugeCase {
        const char* name;
        std::string bytes;
        float originalScale;
        float modelScale;
    };
    // clang-format off
    const HugeCase cases[] = {
        {"huge second line",     kHeader + huge + "\r\n" + kModelKey + "100\r\n",  1, 100},
        {"huge header line",     "Korvane Init File" + huge + "\r\n" + SettingsBytes("25", "100"), 1, 87},
        {"no line end at all",   huge,                                             1, 87},
    };
    // clang-format on
    for (const HugeCase& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory dir;
        WriteFileBytes(kSettingsFilePath, row.bytes);
        ScaleState state;
        LoadSettings(state);
        EXPECT_EQ(state.originalScale, row.originalScale);
        EXPECT_EQ(state.modelScale, row.modelScale);
    }
}

TEST(SaveSettings, WritesTheFiftySevenBytesOfOneToEightySeven) {
    ScopedWorkingDirectory dir;
    fs::create_directories("Assets");
    FieldsFixture fixture;
    fixture.SetTexts("1,0", "87,0", "", "");
    ScaleState state;
    SaveSettings(state, fixture.fields);
    const std::string expected =
        "\x4B\x6F\x72\x76\x61\x6E\x65\x20\x49\x6E\x69\x74\x20\x46\x69\x6C\x65\x0D\x0A"
        "\x4F\x72\x69\x67\x69\x6E\x61\x6C\x2D\x53\x63\x61\x6C\x65\x3A\x0D\x0A"
        "\x31\x0D\x0A"
        "\x4D\x6F\x64\x65\x6C\x2D\x53\x63\x61\x6C\x65\x3A\x0D\x0A"
        "\x38\x37\x0D\x0A";
    ASSERT_EQ(expected.size(), 57u);
    EXPECT_EQ(ReadFileBytes(kSettingsFilePath), expected);
    EXPECT_TRUE(CanLockNow(kSettingsFilePath));
}

struct SaveCase {
    const char* name;
    const char* originalText;
    const char* modelText;
    const char* originalLine;
    const char* modelLine;
    float originalScale;
    float modelScale;
};

// clang-format off
const SaveCase kSaves[] = {
    // The fields are read as typed, not as the last conversion left them.
    {"typed, not converted",   "22,5", "87",    "22.5",         "87",   22.5f, 87},
    {"point accepted",         "22.5", "160,0", "22.5",         "160",  22.5f, 160},
    {"float digits",           "1,6",  "87,0",  "1.6000000238", "87",   1.6f,  87},
    {"sign cleared",           "-2",   "-87",   "2",            "87",   2,     87},
    {"no number",              "",     "abc",   "0",            "0",    0,     0},
    {"words",                  "1e39", "nan",   "+Infinity",    "NaN",  kInfinity, kNaN},
};
// clang-format on

TEST(SaveSettings, StoresTheFieldValuesInTheState) {
    for (const SaveCase& row : kSaves) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory dir;
        fs::create_directories("Assets");
        FieldsFixture fixture;
        fixture.SetTexts(row.originalText, row.modelText, "250", "2,87");
        ScaleState state{5.0f, 6.0f, 7.0f, 8.0f};
        SaveSettings(state, fixture.fields);
        EXPECT_EQ(ReadFileBytes(kSettingsFilePath), SettingsBytes(row.originalLine, row.modelLine));
        EXPECT_TRUE(SameValue(state.originalScale, row.originalScale)) << state.originalScale;
        EXPECT_TRUE(SameValue(state.modelScale, row.modelScale)) << state.modelScale;
        // The sizes are not part of the settings, neither in the file nor taken from the fields.
        EXPECT_EQ(state.originalSize, 7.0f);
        EXPECT_EQ(state.modelSize, 8.0f);
        // A field's text is the user's; saving does not rewrite it.
        EXPECT_EQ(Text(fixture.fields.originalScaleField), row.originalText);
    }
}

TEST(SaveSettings, ReplacesALongerFileWhole) {
    ScopedWorkingDirectory dir;
    WriteFileBytes(kSettingsFilePath, SettingsBytes("22.5", "160") + std::string(1000, 'z'));
    FieldsFixture fixture;
    fixture.SetTexts("1", "87", "", "");
    ScaleState state;
    SaveSettings(state, fixture.fields);
    EXPECT_EQ(ReadFileBytes(kSettingsFilePath), SettingsBytes("1", "87"));
}

TEST(SaveSettings, LeavesTheDiskAsItWasWhenTheFileCannotBeCreated) {
    enum class Obstacle { NoAssetsFolder, DirectoryInItsPlace, HeldByAnother };
    struct FailCase {
        const char* name;
        Obstacle obstacle;
    };
    const FailCase cases[] = {
        {"no Assets folder", Obstacle::NoAssetsFolder},
        {"directory in its place", Obstacle::DirectoryInItsPlace},
        {"held by another", Obstacle::HeldByAnother},
    };
    const std::string earlier = SettingsBytes("1", "160");
    for (const FailCase& row : cases) {
        SCOPED_TRACE(row.name);
        ScopedWorkingDirectory dir;
        if (row.obstacle == Obstacle::DirectoryInItsPlace) {
            fs::create_directories(kSettingsFilePath);
        } else if (row.obstacle == Obstacle::HeldByAnother) {
            WriteFileBytes(kSettingsFilePath, earlier);
        }
        const HeldLock other(row.obstacle == Obstacle::HeldByAnother ? kSettingsFilePath : "");
        ASSERT_EQ(other.locked(), row.obstacle == Obstacle::HeldByAnother);

        FieldsFixture fixture;
        fixture.SetTexts("22,5", "87,0", "", "");
        ScaleState state;
        SaveSettings(state, fixture.fields);

        EXPECT_EQ(state.originalScale, 22.5f);
        EXPECT_EQ(state.modelScale, 87.0f);
        switch (row.obstacle) {
            case Obstacle::NoAssetsFolder:
                EXPECT_FALSE(FileExists("Assets"));
                break;
            case Obstacle::DirectoryInItsPlace:
                EXPECT_TRUE(fs::is_directory(kSettingsFilePath));
                EXPECT_TRUE(fs::is_empty(kSettingsFilePath));
                break;
            case Obstacle::HeldByAnother:
                EXPECT_EQ(ReadFileBytes(kSettingsFilePath), earlier);
                break;
        }
    }
}

TEST(SaveSettings, SavedRatioLoadsBack) {
    struct RoundTrip {
        const char* originalText;
        const char* modelText;
    };
    const RoundTrip cases[] = {
        {"1", "160"}, {"22,5", "1"}, {"1,0", "87,0"}, {"0,1", "1,6"}, {"1e39", "NaN"},
    };
    for (const RoundTrip& row : cases) {
        SCOPED_TRACE(std::string(row.originalText) + " : " + row.modelText);
        ScopedWorkingDirectory dir;
        fs::create_directories("Assets");
        FieldsFixture fixture;
        fixture.SetTexts(row.originalText, row.modelText, "", "");
        ScaleState saved;
        SaveSettings(saved, fixture.fields);
        ScaleState loaded{3.0f, 4.0f, 0.0f, 0.0f};
        LoadSettings(loaded);
        EXPECT_TRUE(SameValue(loaded.originalScale, saved.originalScale)) << loaded.originalScale;
        EXPECT_TRUE(SameValue(loaded.modelScale, saved.modelScale)) << loaded.modelScale;
    }
}

}  // namespace
