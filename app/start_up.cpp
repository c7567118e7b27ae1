#include "app/start_up.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>

#include "app/calculator.h"
#include "app/dispatch.h"
#include "app/shortcut_filter.h"
#include "app/termination_signals.h"
#include "app/toolkit_settings.h"
#include "app/window_failure.h"
#include "files/settings_file.h"

namespace {

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/icons/vantrelo_%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

// A close request ends the help window while it is open, and otherwise the program.
void HandleCloseRequest(Calculator& calculator) {
    if (calculator.helpLoop != nullptr) {
        calculator.helpLoop->quit();
    } else {
        QCoreApplication::quit();
    }
}

}  // namespace

void OpenCalculator(Calculator& calculator) {
    calculator.pictures = Pictures::Load();
    LoadSettings(calculator.scale);
    calculator.window = std::make_unique<MainWindow>(calculator.pictures, calculator.scale);
    MainWindow* window = calculator.window.get();
    ConnectButtons(calculator);
    // Owned by the window, so the filter goes when the window goes.
    qApp->installEventFilter(new ShortcutFilter(calculator, window));
    QObject::connect(window, &MainWindow::closeRequested, window,
                     [&calculator] { HandleCloseRequest(calculator); });
}

void ShutDown(Calculator& calculator) {
    StopLogging(calculator.log);
    SaveSettings(calculator.scale, calculator.window->Fields());
    calculator.window->hide();
    calculator.window.reset();
}

int RunCalculator(char* programName) {
    int argumentCount = 1;
    char* arguments[] = {programName, nullptr};
    ExitCleanlyIfNoWindowCanOpen();
    TurnOffScreenScaling();
    QApplication application(argumentCount, arguments);
    StopWatchingForWindowFailure();
    UseGermanForQtTexts(application);
    application.setQuitOnLastWindowClosed(false);
    application.setWindowIcon(ProgramIcon());

    Calculator calculator;
    OpenCalculator(calculator);
    QuitOnTerminationSignals(&application);
    calculator.window->show();
    application.exec();
    ShutDown(calculator);
    return 0;
}
