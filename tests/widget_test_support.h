#pragma once

#include <QLineEdit>
#include <QWidget>
#include <string>
#include <vector>

#include "conversion/number_fields.h"

// A fresh temporary folder that is the current directory for the lifetime of the object, since
// the program reads and writes its files relative to it.
class ScopedWorkingDirectory {
  public:
    ScopedWorkingDirectory();
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    const std::string& path() const { return path_; }
    // Copies the program's twelve pictures into Assets/ here.
    void CopyPictures() const;

  private:
    std::string previous_;
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Four real number fields in a window of their own, as the main window holds them.
struct FieldsFixture {
    FieldsFixture();
    void SetTexts(const char* originalScale, const char* modelScale, const char* originalSize,
                  const char* modelSize);

    QWidget window;
    NumberFields fields;
};

std::string Text(const QLineEdit* field);

// The four fields' texts, in reading order.
std::vector<std::string> FieldTexts(const NumberFields& fields);
