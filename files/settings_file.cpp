#include "files/settings_file.h"

#include "conversion/number_text.h"
#include "files/text_file.h"

namespace {

constexpr const char* kHeaderLine = "Korvane Init File";
constexpr const char* kOriginalScaleKey = "Original-Scale:";
constexpr const char* kModelScaleKey = "Model-Scale:";

// No line of a readable settings file comes near this length. Keeping at most this much of a
// line bounds the memory a damaged file can take. It changes no outcome for any line shorter
// than this, and no key comparison at all (a longer line never equals a key); only a value line
// whose number itself runs past 64 KiB (say, of leading zeros) is read from its first 64 KiB.
constexpr std::size_t kLongestKeptLine = 64 * 1024;

std::string ReadSettingsLine(TextFile& file) {
    return file.ReadLine(TextEncoding::Ansi, kLongestKeptLine);
}

}  // namespace

void LoadSettings(ScaleState& state) {
    state.originalScale = 1.0f;
    state.modelScale = 87.0f;
    TextFile file;
    if (!file.OpenForReading(kSettingsFilePath)) {
        return;
    }
    if (ReadSettingsLine(file) != kHeaderLine) {
        return;
    }
    // Each key is looked for only at the one place where it belongs; a key that is not there
    // leaves its default, and the next key is compared with the line that stood in its place.
    if (ReadSettingsLine(file) == kOriginalScaleKey) {
        state.originalScale = ParseDecimal(ReadSettingsLine(file));
    }
    if (ReadSettingsLine(file) == kModelScaleKey) {
        state.modelScale = ParseDecimal(ReadSettingsLine(file));
    }
}

void SaveSettings(ScaleState& state, const NumberFields& fields) {
    state.originalScale = ReadFieldValue(*fields.originalScaleField);
    state.modelScale = ReadFieldValue(*fields.modelScaleField);
    TextFile file;
    if (!file.CreateForWriting(kSettingsFilePath)) {
        return;
    }
    file.WriteLine(kHeaderLine);
    file.WriteLine(kOriginalScaleKey);
    file.WriteLine(FormatShortest(state.originalScale), TextEncoding::Ansi);
    file.WriteLine(kModelScaleKey);
    file.WriteLine(FormatShortest(state.modelScale), TextEncoding::Ansi);
    file.Close();
}
