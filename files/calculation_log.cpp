#include "files/calculation_log.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <ctime>

#include "conversion/number_text.h"
#include "files/date_mask.h"

namespace {

// Enough for every start within one second; beyond it the start fails like any other create.
constexpr int kMostNamesTried = 1000;

std::string NumberedName(const std::string& name, int number) {
    if (number == 1) {
        return name;
    }
    const std::size_t dot = name.rfind('.');
    return name.substr(0, dot) + "_" + std::to_string(number) + name.substr(dot);
}

// Creates the log under the first free name, so that an earlier log of the same second (or of
// a repeated hour when the clock goes back) is never emptied. Returns the name used, or "".
std::string CreateUnderFreeName(TextFile& file, const std::string& name) {
    for (int number = 1; number <= kMostNamesTried; ++number) {
        const std::string candidate = NumberedName(name, number);
        switch (file.CreateNew(candidate)) {
            case CreateNewOutcome::Created:
                return candidate;
            case CreateNewOutcome::NameTaken:
                continue;
            case CreateNewOutcome::Failed:
                return "";
        }
    }
    return "";
}

void ShowLogNotice(QWidget* owner, const std::string& fileName) {
    QMessageBox notice(QMessageBox::NoIcon, QStringLiteral("Hinweis"),
                       QString::fromStdString(LogNoticeText(fileName)), QMessageBox::Ok, owner);
    // Qt leaves it to the window system to activate the owner again, and some never do; the
    // focus is given back explicitly so that the person can go on where they were.
    const QPointer<QWidget> focused = QApplication::focusWidget();
    notice.exec();
    if (owner != nullptr) {
        owner->activateWindow();
    }
    if (focused) {
        focused->setFocus(Qt::ActiveWindowFocusReason);
    }
}

}  // namespace

bool IsLogging(const CalculationLog& log) {
    return log.file.IsOpen();
}

void StartLogging(CalculationLog& log, QWidget* noticeOwner) {
    StartLoggingAt(log, noticeOwner, static_cast<std::int64_t>(std::time(nullptr)));
}

void StartLoggingAt(CalculationLog& log, QWidget* noticeOwner, std::int64_t secondsSinceEpoch) {
    const std::string name = ExpandDateMask(kLogNameMask, LocalMomentOf(secondsSinceEpoch));
    if (name.empty()) {
        return;
    }
    const std::string used = CreateUnderFreeName(log.file, name);
    if (used.empty()) {
        return;
    }
    log.file.SetWriteThrough(true);
    ShowLogNotice(noticeOwner, used);
    log.file.WriteLine(kLogHeaderLine);
}

void StopLogging(CalculationLog& log) {
    log.file.Close();
}

void AppendLogRow(CalculationLog& log, const ScaleState& state) {
    if (IsLogging(log)) {
        log.file.WriteLine(LogRow(state));
    }
}

std::string LogRow(const ScaleState& state) {
    const std::string row =
        FormatDecimals(state.originalScale, 1) + "\t" + FormatDecimals(state.modelScale, 1) + "\t" +
        FormatDecimals(state.originalSize, 2) + "\t" + FormatDecimals(state.modelSize, 2);
    return ReplaceAll(row, ".", ",");
}

std::string LogNoticeText(const std::string& fileName) {
    return "Die Berechnungen werden in der Datei \n     " + fileName + "\ngespeichert.";
}
