#include "widget_test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

ScopedWorkingDirectory::ScopedWorkingDirectory() {
    previous_ = fs::current_path().string();
    std::string pattern = (fs::temp_directory_path() / "vantrelo-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder";
        return;
    }
    path_ = pattern;
    fs::current_path(path_);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void ScopedWorkingDirectory::CopyPictures() const {
    const fs::path assets = fs::path(path_) / "Assets";
    fs::create_directories(assets);
    for (const auto& entry : fs::directory_iterator(fs::path(VANTRELO_SOURCE_DIR) / "Assets")) {
        fs::copy_file(entry.path(), assets / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
    }
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path().empty() ? fs::path(".")
                                                                : fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path) {
    return fs::exists(path);
}

FieldsFixture::FieldsFixture() {
    fields = {new QLineEdit(&window), new QLineEdit(&window), new QLineEdit(&window),
              new QLineEdit(&window)};
    window.show();
}

void FieldsFixture::SetTexts(const char* originalScale, const char* modelScale,
                             const char* originalSize, const char* modelSize) {
    fields.originalScaleField->setText(QString::fromUtf8(originalScale));
    fields.modelScaleField->setText(QString::fromUtf8(modelScale));
    fields.originalSizeField->setText(QString::fromUtf8(originalSize));
    fields.modelSizeField->setText(QString::fromUtf8(modelSize));
}

std::string Text(const QLineEdit* field) {
    return field->text().toStdString();
}

std::vector<std::string> FieldTexts(const NumberFields& fields) {
    std::vector<std::string> texts;
    for (const QLineEdit* field : fields.InReadingOrder()) {
        texts.push_back(Text(field));
    }
    return texts;
}
