#pragma once

#include <memory>

#include "app/main_window.h"
#include "app/pictures.h"
#include "conversion/scale_state.h"
#include "files/calculation_log.h"

class QEventLoop;

// The program's whole state, in one place: the numbers, the pictures, the log and the window.
struct Calculator {
    Pictures pictures;
    ScaleState scale;
    CalculationLog log;
    std::unique_ptr<MainWindow> window;
    // The help window's own loop while it is open; a close request for the main window ends it.
    QEventLoop* helpLoop = nullptr;
};
