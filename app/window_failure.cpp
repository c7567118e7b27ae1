#include "app/window_failure.h"

#include <unistd.h>
#include <QtGlobal>
#include <cstdio>

namespace {

void FailClearly(QtMsgType type, const QMessageLogContext&, const QString&) {
    // Warnings before the fatal one only repeat its cause; they are dropped with it.
    if (type == QtFatalMsg) {
        std::fputs("vantrelo: cannot open a window: no display available\n", stderr);
        _exit(1);
    }
}

}  // namespace

void ExitCleanlyIfNoWindowCanOpen() {
    qInstallMessageHandler(FailClearly);
}

void StopWatchingForWindowFailure() {
    qInstallMessageHandler(nullptr);
}
