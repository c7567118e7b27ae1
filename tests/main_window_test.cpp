#include "app/main_window.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <filesystem>
#include <vector>

#include "app/dispatch.h"
#include "app/start_up.h"
#include "app_test_support.h"
#include "files/calculation_log.h"

namespace {

enum class Kind { Button, Toggle, Field, ReadOnlyField, Label };

struct WidgetRow {
    const char* name;
    Kind kind;
    QRect geometry;
    const char* text;  // a field's or label's initial text
    const char* tooltip;
    Qt::Alignment horizontal;
};

// clang-format off
const WidgetRow kWidgets[] = {
    {"logToggleButton",     Kind::Toggle,        {0, 0, 25, 25},    "",         "Speichern in Datei beginnen", {}},
    {"helpButton",          Kind::Button,        {180, 0, 25, 25},  "",         "Hilfe",                       {}},
    {"originalScaleField",  Kind::Field,         {45, 10, 50, 20},  "1,0",      "Original-Maßstab",            Qt::AlignLeft},
    {"ratioSeparator",      Kind::ReadOnlyField, {95, 10, 20, 20},  " : ",      "",                            Qt::AlignHCenter},
    {"modelScaleField",     Kind::Field,         {115, 10, 50, 20}, "87,0",     "Modell-Maßstab",              Qt::AlignLeft},
    {"originalLabel",       Kind::Label,         {10, 40, 75, 20},  "Original", "",                            Qt::AlignHCenter},
    {"originalSizeField",   Kind::Field,         {10, 60, 75, 20},  "",         "Original-Maß",                Qt::AlignHCenter},
    {"copyOriginalButton",  Kind::Button,        {10, 80, 25, 25},  "",         "Kopieren",                    {}},
    {"pasteOriginalButton", Kind::Button,        {35, 80, 25, 25},  "",         "Einfügen",                    {}},
    {"clearOriginalButton", Kind::Button,        {60, 80, 25, 25},  "",         "Löschen",                     {}},
    {"toOriginalButton",    Kind::Button,        {90, 45, 25, 25},  "",         "Original-Maß berechnen",      {}},
    {"toModelButton",       Kind::Button,        {90, 70, 25, 25},  "",         "Modell-Maß berechnen",        {}},
    {"modelLabel",          Kind::Label,         {120, 40, 75, 20}, "Modell",   "",                            Qt::AlignHCenter},
    {"modelSizeField",      Kind::Field,         {120, 60, 75, 20}, "",         "Modell-Maß",                  Qt::AlignHCenter},
    {"copyModelButton",     Kind::Button,        {120, 80, 25, 25}, "",         "Kopieren",                    {}},
    {"pasteModelButton",    Kind::Button,        {145, 80, 25, 25}, "",         "Einfügen",                    {}},
    {"clearModelButton",    Kind::Button,        {170, 80, 25, 25}, "",         "Löschen",                     {}},
};
// clang-format on

std::vector<QWidget*> ChildWidgetsInCreationOrder(const QWidget& window) {
    std::vector<QWidget*> widgets;
    for (QObject* child : window.children()) {
        if (auto* widget = qobject_cast<QWidget*>(child)) {
            widgets.push_back(widget);
        }
    }
    return widgets;
}

TEST(MainWindow, HasItsSeventeenWidgetsInCreationOrder) {
    CalculatorFixture fixture;
    const std::vector<QWidget*> widgets = ChildWidgetsInCreationOrder(*fixture.window);
    ASSERT_EQ(widgets.size(), std::size(kWidgets));
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const WidgetRow& row = kWidgets[i];
        SCOPED_TRACE(row.name);
        QWidget* widget = widgets[i];
        EXPECT_EQ(widget->objectName(), row.name);
        EXPECT_EQ(widget->geometry(), row.geometry);
        EXPECT_EQ(widget->toolTip(), QString::fromUtf8(row.tooltip));
        // What a screen reader says: the tooltip, a label's own text, or the separator's role.
        const char* spoken = *row.tooltip != '\0'      ? row.tooltip
                             : row.kind == Kind::Label ? row.text
                                                       : "Verhältnis";
        EXPECT_EQ(widget->accessibleName(), QString::fromUtf8(spoken));
        switch (row.kind) {
            case Kind::Button:
            case Kind::Toggle: {
                auto* button = qobject_cast<PictureButton*>(widget);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->isCheckable(), row.kind == Kind::Toggle);
                EXPECT_TRUE(button->text().isEmpty());
                EXPECT_FALSE(button->picture().isNull());
                break;
            }
            case Kind::Field:
            case Kind::ReadOnlyField: {
                auto* field = qobject_cast<QLineEdit*>(widget);
                ASSERT_NE(field, nullptr);
                EXPECT_EQ(field->text(), QString::fromUtf8(row.text));
                EXPECT_EQ(field->isReadOnly(), row.kind == Kind::ReadOnlyField);
                EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, row.horizontal);
                EXPECT_EQ(field->focusPolicy(), Qt::StrongFocus);
                break;
            }
            case Kind::Label: {
                auto* label = qobject_cast<QLabel*>(widget);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
                EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, row.horizontal);
                EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
                break;
            }
        }
    }
}

TEST(MainWindow, IsAFixedWindowWithACloseBoxOnly) {
    CalculatorFixture fixture;
    MainWindow& window = *fixture.window;
    EXPECT_EQ(window.windowTitle(), "Vantrelo 1.10");
    EXPECT_EQ(window.size(), QSize(205, 120));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.pos(), QPoint(300, 300));
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.testAttribute(Qt::WA_AlwaysShowToolTips));
}

TEST(MainWindow, ShowsTheLoadedRatio) {
    ScopedWorkingDirectory folder;
    WriteFileBytes("Assets/Korvane.ini",
                   "Korvane Init File\r\nOriginal-Scale:\r\n1\r\nModel-Scale:\r\n160\r\n");
    Calculator calculator;
    OpenCalculator(calculator);
    EXPECT_EQ(Text(calculator.window->originalScaleField), "1,0");
    EXPECT_EQ(Text(calculator.window->modelScaleField), "160,0");
}

QWidget* FocusedChild(const MainWindow& window) {
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr && focused->parentWidget() == &window ? focused : nullptr;
}

TEST(MainWindowFocus, NoWidgetHasTheFocusAtStart) {
    CalculatorFixture fixture;
    EXPECT_EQ(FocusedChild(*fixture.window), nullptr);
}

TEST(MainWindowFocus, TabCyclesThroughButtonsAndFieldsInCreationOrder) {
    CalculatorFixture fixture;
    std::vector<QString> focusable;
    for (const WidgetRow& row : kWidgets) {
        if (row.kind != Kind::Label) {
            focusable.push_back(row.name);
        }
    }
    ASSERT_EQ(focusable.size(), 15u);
    // Two rounds, so that the wrap from the last to the first widget is taken too.
    for (std::size_t step = 0; step < 2 * focusable.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_NE(FocusedChild(*fixture.window), nullptr);
        EXPECT_EQ(FocusedChild(*fixture.window)->objectName(), focusable[step % focusable.size()]);
    }
}

TEST(MainWindowFocus, ShiftTabFromNowhereGoesToTheLastButtonAndWrapsBack) {
    CalculatorFixture fixture;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedChild(*fixture.window), fixture.window->clearModelButton);
    QTest::keyClick(fixture.window->clearModelButton, Qt::Key_Tab);
    EXPECT_EQ(FocusedChild(*fixture.window), fixture.window->logToggleButton);
    QTest::keyClick(fixture.window->logToggleButton, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(FocusedChild(*fixture.window), fixture.window->clearModelButton);
}

TEST(MainWindowFocus, AClickOnAnyButtonGivesItTheFocus) {
    CalculatorFixture fixture;
    MainWindow& w = *fixture.window;
    for (PictureButton* button : {w.copyOriginalButton, w.pasteOriginalButton, w.toOriginalButton,
                                  w.toModelButton, w.copyModelButton, w.pasteModelButton}) {
        SCOPED_TRACE(button->objectName().toStdString());
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(FocusedChild(w), button);
    }
}

TEST(MainWindowFocus, ComesBackToTheSameWidgetAfterAnotherWindowWasActive) {
    CalculatorFixture fixture;
    fixture.window->modelScaleField->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    fixture.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fixture.window));
    EXPECT_EQ(FocusedChild(*fixture.window), fixture.window->modelScaleField);
}

struct ShortcutCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* focus;        // objectName of the focused widget, or "" for none
    const char* expected[4];  // the four number fields afterwards
    const char* clipboard;    // afterwards
};

// Before each row: 1,0 : 87,0, "250" and "2,87" in the size fields, "12,5" on the clipboard.
// clang-format off
const ShortcutCase kShortcuts[] = {
    {"copy scale",        Qt::Key_C, Qt::ControlModifier, "originalScaleField", {"1,00", "87,0", "250", "2,87"}, "1,00"},
    {"copy model scale",  Qt::Key_C, Qt::ControlModifier, "modelScaleField",    {"1,0", "87,00", "250", "2,87"}, "87,00"},
    {"copy size",         Qt::Key_C, Qt::ControlModifier, "originalSizeField",  {"1,0", "87,0", "250,00", "2,87"}, "250,00"},
    {"copy model size",   Qt::Key_C, Qt::ControlModifier, "modelSizeField",     {"1,0", "87,0", "250", "2,87"}, "2,87"},
    {"paste scale",       Qt::Key_V, Qt::ControlModifier, "originalScaleField", {"12,5", "87,0", "250", "2,87"}, "12,5"},
    {"paste model scale", Qt::Key_V, Qt::ControlModifier, "modelScaleField",    {"1,0", "12,5", "250", "2,87"}, "12,5"},
    {"paste size",        Qt::Key_V, Qt::ControlModifier, "originalSizeField",  {"1,0", "87,0", "12,50", "2,87"}, "12,5"},
    {"paste model size",  Qt::Key_V, Qt::ControlModifier, "modelSizeField",     {"1,0", "87,0", "250", "12,50"}, "12,5"},
    {"return in scale",   Qt::Key_Return, Qt::NoModifier, "originalScaleField", {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"return in model scale", Qt::Key_Return, Qt::NoModifier, "modelScaleField", {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"return to model",   Qt::Key_Return, Qt::NoModifier, "originalSizeField",  {"1,0", "87,0", "250,00", "2,87"}, "12,5"},
    {"return to original", Qt::Key_Return, Qt::NoModifier, "modelSizeField",    {"1,0", "87,0", "249,69", "2,87"}, "12,5"},
    {"keypad enter",      Qt::Key_Enter, Qt::KeypadModifier, "modelSizeField",  {"1,0", "87,0", "249,69", "2,87"}, "12,5"},
    {"clear scale",       Qt::Key_Escape, Qt::NoModifier, "originalScaleField", {"", "87,0", "250", "2,87"}, "12,5"},
    {"clear model scale", Qt::Key_Escape, Qt::NoModifier, "modelScaleField",    {"1,0", "", "250", "2,87"}, "12,5"},
    {"clear size",        Qt::Key_Escape, Qt::NoModifier, "originalSizeField",  {"1,0", "87,0", "", "2,87"}, "12,5"},
    {"clear model size",  Qt::Key_Escape, Qt::NoModifier, "modelSizeField",     {"1,0", "87,0", "250", ""}, "12,5"},
    // With the focus anywhere but in a number field, nothing happens.
    {"copy in separator", Qt::Key_C, Qt::ControlModifier, "ratioSeparator",     {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"paste in separator", Qt::Key_V, Qt::ControlModifier, "ratioSeparator",    {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"return in separator", Qt::Key_Return, Qt::NoModifier, "ratioSeparator",   {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"escape in separator", Qt::Key_Escape, Qt::NoModifier, "ratioSeparator",   {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"copy on a button",  Qt::Key_C, Qt::ControlModifier, "toModelButton",      {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"return on a button", Qt::Key_Return, Qt::NoModifier, "toModelButton",     {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"escape on a button", Qt::Key_Escape, Qt::NoModifier, "copyModelButton",   {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"copy with no focus", Qt::Key_C, Qt::ControlModifier, "",                  {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"paste with no focus", Qt::Key_V, Qt::ControlModifier, "",                 {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"return with no focus", Qt::Key_Return, Qt::NoModifier, "",                {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"escape with no focus", Qt::Key_Escape, Qt::NoModifier, "",                {"1,0", "87,0", "250", "2,87"}, "12,5"},
    // Only exactly the shortcut's modifiers count.
    {"ctrl shift c",      Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, "originalSizeField", {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"ctrl shift v",      Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, "originalSizeField", {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"shift return",      Qt::Key_Return, Qt::ShiftModifier, "originalSizeField", {"1,0", "87,0", "250", "2,87"}, "12,5"},
    {"ctrl escape",       Qt::Key_Escape, Qt::ControlModifier, "originalSizeField", {"1,0", "87,0", "250", "2,87"}, "12,5"},
};
// clang-format on

TEST(MainWindowShortcuts, ActOnTheFocusedNumberFieldOnly) {
    for (const ShortcutCase& row : kShortcuts) {
        SCOPED_TRACE(row.name);
        CalculatorFixture fixture;
        MainWindow& w = *fixture.window;
        w.originalSizeField->setText("250");
        w.modelSizeField->setText("2,87");
        QGuiApplication::clipboard()->setText("12,5");
        QWidget* target = &w;
        if (*row.focus != '\0') {
            target = w.findChild<QWidget*>(row.focus);
            ASSERT_NE(target, nullptr);
            target->setFocus();
        }
        QTest::keyClick(target, row.key, row.modifiers);
        EXPECT_EQ(FieldTexts(w.Fields()),
                  (std::vector<std::string>{row.expected[0], row.expected[1], row.expected[2],
                                            row.expected[3]}));
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), row.clipboard);
        EXPECT_EQ(Text(w.ratioSeparator), " : ");
        if (*row.focus != '\0') {
            EXPECT_EQ(FocusedChild(w), target) << "the focus stays where it was";
        }
    }
}

TEST(MainWindowShortcuts, ReturnNeverReachesAField) {
    CalculatorFixture fixture;
    int returns = 0;
    for (QLineEdit* field : fixture.window->Fields().InReadingOrder()) {
        QObject::connect(field, &QLineEdit::returnPressed, field, [&returns] { ++returns; });
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
    }
    EXPECT_EQ(returns, 0);
}

TEST(MainWindowShortcuts, OtherKeysWorkInTheFieldsAsUsual) {
    CalculatorFixture fixture;
    QLineEdit* field = fixture.window->originalSizeField;
    field->setFocus();
    QTest::keyClicks(field, "12,5x");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(Text(field), "12,5");
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field->selectedText(), "12,5");
}

TEST(MainWindowShortcuts, DoNothingWhileAnotherWindowIsActive) {
    CalculatorFixture fixture;
    fixture.window->originalSizeField->setText("250");
    fixture.window->originalSizeField->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::keyClick(fixture.window->originalSizeField, Qt::Key_Escape);
    EXPECT_EQ(Text(fixture.window->originalSizeField), "250");
}

TEST(MainWindowButtons, ConvertInBothDirections) {
    CalculatorFixture fixture;
    MainWindow& w = *fixture.window;
    w.originalSizeField->setText("250");
    QTest::mouseClick(w.toModelButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.modelSizeField), "2,87");
    QTest::mouseClick(w.toOriginalButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.originalSizeField), "249,69");
}

TEST(MainWindowButtons, CopyPasteAndClearTheSizeFields) {
    CalculatorFixture fixture;
    MainWindow& w = *fixture.window;
    w.originalSizeField->setText("-12,5");
    w.modelSizeField->setText("7");
    QTest::mouseClick(w.copyOriginalButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.originalSizeField), "12,50");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "12,50");
    QGuiApplication::clipboard()->setText("3,25");
    QTest::mouseClick(w.pasteModelButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.modelSizeField), "3,25");
    QTest::mouseClick(w.copyModelButton, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "3,25");
    QGuiApplication::clipboard()->setText("1");
    QTest::mouseClick(w.pasteOriginalButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.originalSizeField), "1,00");
    QTest::mouseClick(w.clearOriginalButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.originalSizeField), "");
    EXPECT_EQ(FocusedChild(w), w.originalSizeField);
    QTest::mouseClick(w.clearModelButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.modelSizeField), "");
    EXPECT_EQ(FocusedChild(w), w.modelSizeField);
}

TEST(MainWindowButtons, WorkWithoutAnyPicture) {
    CalculatorFixture fixture(/*withPictures=*/false);
    MainWindow& w = *fixture.window;
    EXPECT_TRUE(w.toModelButton->picture().isNull());
    w.originalSizeField->setText("870");
    QTest::mouseClick(w.toModelButton, Qt::LeftButton);
    EXPECT_EQ(Text(w.modelSizeField), "10,00");
    w.modelSizeField->setFocus();
    QTest::keyClick(w.modelSizeField, Qt::Key_Escape);
    EXPECT_EQ(Text(w.modelSizeField), "");
}

TEST(LogToggle, TwoPressesStartAndStopALog) {
    CalculatorFixture fixture;
    MainWindow& w = *fixture.window;
    const QPixmap closedPicture = w.logToggleButton->picture();
    AnswerNextNotice([](QMessageBox&) {});
    QTest::mouseClick(w.logToggleButton, Qt::LeftButton);
    EXPECT_TRUE(IsLogging(fixture.calculator.log));
    EXPECT_EQ(w.logToggleButton->toolTip(), "Speichern in Datei beenden");
    EXPECT_TRUE(w.logToggleButton->isChecked());
    EXPECT_EQ(w.logToggleButton->picture().toImage(),
              fixture.calculator.pictures[Picture::ListActive].toImage());
    // The window is activated again once the notice has gone.
    EXPECT_TRUE(QTest::qWaitFor([&] { return FocusedChild(w) == w.logToggleButton; }))
        << "the focus is back after the notice";

    QTest::mouseClick(w.logToggleButton, Qt::LeftButton);
    EXPECT_FALSE(IsLogging(fixture.calculator.log));
    EXPECT_EQ(w.logToggleButton->toolTip(), "Speichern in Datei beginnen");
    EXPECT_FALSE(w.logToggleButton->isChecked());
    EXPECT_EQ(w.logToggleButton->picture().toImage(), closedPicture.toImage());
}

TEST(LogToggle, AFailedStartLeavesTheButtonRaisedAndTheLogClosed) {
    CalculatorFixture fixture;
    MainWindow& w = *fixture.window;
    // No file can be created in a folder that no longer exists, not even by root.
    std::filesystem::remove_all(fixture.folder.path());
    QTest::mouseClick(w.logToggleButton, Qt::LeftButton);
    EXPECT_FALSE(IsLogging(fixture.calculator.log));
    EXPECT_FALSE(w.logToggleButton->isChecked());
    EXPECT_EQ(w.logToggleButton->toolTip(), "Speichern in Datei beginnen");
}

TEST(ShutDown, ClosesTheLogAndSavesTheRatioFromTheFields) {
    ScopedWorkingDirectory folder;
    folder.CopyPictures();
    Calculator calculator;
    OpenCalculator(calculator);
    calculator.window->show();
    AnswerNextNotice([](QMessageBox&) {});
    ToggleLog(calculator);
    ASSERT_TRUE(IsLogging(calculator.log));
    calculator.window->modelScaleField->setText("160");
    ShutDown(calculator);
    EXPECT_FALSE(IsLogging(calculator.log));
    EXPECT_EQ(calculator.window, nullptr);
    EXPECT_EQ(ReadFileBytes("Assets/Korvane.ini"),
              "Korvane Init File\r\nOriginal-Scale:\r\n1\r\nModel-Scale:\r\n160\r\n");
}

}  // namespace
