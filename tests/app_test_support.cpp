#include "app_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/start_up.h"

CalculatorFixture::CalculatorFixture(bool withPictures) {
    if (withPictures) {
        folder.CopyPictures();
    }
    OpenCalculator(calculator);
    window = calculator.window.get();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

CalculatorFixture::~CalculatorFixture() {
    StopLogging(calculator.log);
    calculator.window.reset();
}

namespace {

void PollFor(std::function<bool()> attempt) {
    QTimer::singleShot(0, qApp, [attempt] {
        if (!attempt()) {
            PollFor(attempt);
        }
    });
}

}  // namespace

void AnswerNextNotice(std::function<void(QMessageBox&)> check) {
    PollFor([check] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return false;
        }
        check(*box);
        box->button(QMessageBox::Ok)->click();
        return true;
    });
}

void WhenWindowShown(const QString& title, std::function<void(QWidget&)> inspect) {
    PollFor([title, inspect] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->windowTitle() == title) {
                inspect(*top);
                return true;
            }
        }
        return false;
    });
}
