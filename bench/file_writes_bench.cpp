// Runs one SaveSettings and one log row, each between two marker calls that strace shows as
// access("vantrelo-bench: begin ...") and access("vantrelo-bench: end ..."), so that the system
// calls of exactly that operation can be cut out of the trace. Runs in the current directory,
// which needs an Assets folder.
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <string>

#include "bench/notice.h"
#include "files/calculation_log.h"
#include "files/settings_file.h"

namespace {

void Mark(const char* edge, const char* operation) {
    const std::string marker = std::string("vantrelo-bench: ") + edge + " " + operation;
    // The name never exists; the call is there only to be seen in the trace.
    ::access(marker.c_str(), F_OK);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    NumberFields fields{new QLineEdit(QStringLiteral("1,0"), &window),
                        new QLineEdit(QStringLiteral("87,0"), &window),
                        new QLineEdit(QStringLiteral("250,00"), &window),
                        new QLineEdit(QStringLiteral("2,87"), &window)};
    ScaleState state;
    LoadSettings(state);

    Mark("begin", "SaveSettings");
    SaveSettings(state, fields);
    Mark("end", "SaveSettings");

    CalculationLog log;
    DismissNoticeWhenShown();
    StartLogging(log, &window);
    state.originalSize = 250.0f;
    state.modelSize = 2.87f;
    Mark("begin", "AppendLogRow");
    AppendLogRow(log, state);
    Mark("end", "AppendLogRow");
    StopLogging(log);
    return IsLogging(log) ? 1 : 0;
}
