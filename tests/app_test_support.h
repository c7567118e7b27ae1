#pragma once

#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <string>

#include "app/calculator.h"
#include "widget_test_support.h"

// The calculator as the program opens it, in a temporary working folder, its window shown and
// active so that its shortcuts are live.
struct CalculatorFixture {
    explicit CalculatorFixture(bool withPictures = true);
    ~CalculatorFixture();

    ScopedWorkingDirectory folder;
    Calculator calculator;
    MainWindow* window = nullptr;
};

// Runs the check on the next modal window as soon as it is shown, then closes it with its OK
// button. Used for the notice, whose exec() would otherwise wait for a person.
void AnswerNextNotice(std::function<void(QMessageBox&)> check);

// Runs `inspect` once the given top-level window is open (from within its own event loop).
void WhenWindowShown(const QString& title, std::function<void(QWidget&)> inspect);
