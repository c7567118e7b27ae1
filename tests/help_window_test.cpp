#include "app/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <vector>

#include "app_test_support.h"

namespace {

enum class Kind { Text, BorderedView, KeyView };

struct HelpWidgetRow {
    Kind kind;
    QRect laidOut;
    const char* text;  // the caption, or what a view is named after
};

// clang-format off
const HelpWidgetRow kHelpWidgets[] = {
    {Kind::Text,         {10, 10, 285, 20},  "Allgemeine Funktionen"},
    {Kind::BorderedView, {20, 35, 20, 20},   "Hilfe-Fenster anzeigen"},
    {Kind::Text,         {52, 38, 233, 20},  "Hilfe-Fenster anzeigen"},
    {Kind::BorderedView, {20, 60, 20, 20},   "Speichern der Berechnungen starten"},
    {Kind::Text,         {52, 63, 233, 20},  "Speichern der Berechnungen starten"},
    {Kind::BorderedView, {20, 85, 20, 20},   "Speichern der Berechnungen beenden"},
    {Kind::Text,         {52, 88, 233, 20},  "Speichern der Berechnungen beenden"},
    {Kind::Text,         {10, 125, 285, 20}, "Funktionen (alle Zahlen-Felder)"},
    {Kind::KeyView,      {20, 150, 70, 20},  "Zahl kopieren"},
    {Kind::Text,         {100, 153, 185, 20}, "Zahl kopieren"},
    {Kind::KeyView,      {20, 175, 70, 20},  "Zahl einfügen"},
    {Kind::Text,         {100, 178, 185, 20}, "Zahl einfügen"},
    {Kind::KeyView,      {20, 200, 70, 20},  "Zahl löschen"},
    {Kind::Text,         {100, 203, 185, 20}, "Zahl löschen"},
    {Kind::Text,         {10, 240, 285, 20}, "Funktionen (nur Maß-Felder)"},
    {Kind::BorderedView, {20, 265, 20, 20},  "Zahl kopieren"},
    {Kind::Text,         {52, 268, 233, 20}, "Zahl kopieren"},
    {Kind::BorderedView, {20, 290, 20, 20},  "Zahl einfügen"},
    {Kind::Text,         {52, 293, 233, 20}, "Zahl einfügen"},
    {Kind::BorderedView, {20, 315, 20, 20},  "Zahl löschen"},
    {Kind::Text,         {52, 318, 233, 20}, "Zahl löschen"},
    {Kind::BorderedView, {20, 340, 20, 20},  "Modell-Maß berechnen"},
    {Kind::Text,         {52, 343, 233, 20}, "Modell-Maß berechnen"},
    {Kind::BorderedView, {20, 365, 20, 20},  "Original-Maß berechnen"},
    {Kind::Text,         {52, 368, 233, 20}, "Original-Maß berechnen"},
    {Kind::KeyView,      {20, 390, 70, 20},  "Das jeweils andere Maß berechnen"},
    {Kind::Text,         {100, 393, 185, 40}, "Das jeweils andere Maß berechnen"},
};
// clang-format on

// The pictures shown in the views, in the order of the table's views.
const Picture kViewPictures[] = {
    Picture::Help,   Picture::List,       Picture::ListActive, Picture::CtrlC,
    Picture::CtrlV,  Picture::Escape,     Picture::Copy,       Picture::Paste,
    Picture::Delete, Picture::ArrowRight, Picture::ArrowLeft,  Picture::Return,
};

std::vector<QLabel*> Labels(QWidget& window) {
    std::vector<QLabel*> labels;
    for (QObject* child : window.children()) {
        if (auto* label = qobject_cast<QLabel*>(child)) {
            labels.push_back(label);
        }
    }
    return labels;
}

struct SeenHelpWindow {
    QString title;
    QSize size;
    QPoint position;
    bool mainWindowEnabled = true;
    std::vector<QRect> geometries;
    std::vector<QString> texts;
    std::vector<QString> accessibleNames;
    std::vector<QImage> pictures;
    std::vector<Qt::FocusPolicy> focusPolicies;
};

// Opens the help window with a click on helpButton, records what it shows, then sends `close`.
SeenHelpWindow OpenAndRecord(CalculatorFixture& fixture, std::function<void(QWidget&)> close) {
    SeenHelpWindow seen;
    WhenWindowShown("Hilfe", [&](QWidget& help) {
        seen.title = help.windowTitle();
        seen.size = help.size();
        seen.position = help.pos();
        seen.mainWindowEnabled = fixture.window->isEnabled();
        for (QLabel* label : Labels(help)) {
            seen.geometries.push_back(label->geometry());
            seen.texts.push_back(label->text());
            seen.accessibleNames.push_back(label->accessibleName());
            seen.pictures.push_back(label->pixmap().toImage());
            seen.focusPolicies.push_back(label->focusPolicy());
        }
        close(help);
    });
    QTest::mouseClick(fixture.window->helpButton, Qt::LeftButton);
    return seen;
}

void CloseBox(QWidget& help) {
    help.close();
}

TEST(HelpWindow, ShowsTheTwentySevenWidgetsWithTheLoadedPictures) {
    CalculatorFixture fixture;
    const SeenHelpWindow seen = OpenAndRecord(fixture, CloseBox);
    EXPECT_EQ(seen.title, "Hilfe");
    EXPECT_EQ(seen.size, QSize(305, 425));
    EXPECT_EQ(seen.position, QPoint(320, 320));
    ASSERT_EQ(seen.geometries.size(), std::size(kHelpWidgets));
    std::size_t view = 0;
    for (std::size_t i = 0; i < std::size(kHelpWidgets); ++i) {
        const HelpWidgetRow& row = kHelpWidgets[i];
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(seen.focusPolicies[i], Qt::NoFocus);
        EXPECT_EQ(seen.accessibleNames[i], QString::fromUtf8(row.text));
        if (row.kind == Kind::Text) {
            EXPECT_EQ(seen.geometries[i], row.laidOut);
            EXPECT_EQ(seen.texts[i], QString::fromUtf8(row.text));
            continue;
        }
        // With the drawn 16 × 16 and 70 × 20 pictures every view has its laid-out size: a
        // bordered view is its picture plus a 2-pixel frame on each side.
        EXPECT_EQ(seen.geometries[i], row.laidOut);
        EXPECT_EQ(seen.pictures[i], fixture.calculator.pictures[kViewPictures[view]].toImage());
        ++view;
    }
    EXPECT_FALSE(seen.mainWindowEnabled);
}

TEST(HelpWindow, ViewsTakeTheSizeOfTheirPicture) {
    ScopedWorkingDirectory folder;
    folder.CopyPictures();
    QPixmap big(30, 12);
    big.fill(Qt::blue);
    ASSERT_TRUE(big.save("Assets/help.bmp", "BMP"));
    ASSERT_TRUE(big.save("Assets/ESC.bmp", "BMP"));
    const Pictures pictures = Pictures::Load();
    HelpWindow help(pictures);
    help.BuildContents(305);
    const std::vector<QLabel*> labels = Labels(help);
    EXPECT_EQ(labels[1]->geometry(), QRect(20, 35, 34, 16)) << "bordered: picture + 4";
    EXPECT_EQ(labels[12]->geometry(), QRect(20, 200, 30, 12)) << "key view: the picture";
}

TEST(HelpWindow, EmptyPicturesKeepTheLaidOutSizes) {
    CalculatorFixture fixture(/*withPictures=*/false);
    const SeenHelpWindow seen = OpenAndRecord(fixture, CloseBox);
    ASSERT_EQ(seen.geometries.size(), std::size(kHelpWidgets));
    for (std::size_t i = 0; i < std::size(kHelpWidgets); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(seen.geometries[i], kHelpWidgets[i].laidOut);
        EXPECT_TRUE(seen.pictures[i].isNull());
    }
}

TEST(HelpWindow, ClosingGivesTheMainWindowBackWithTheFocusOnTheHelpButton) {
    CalculatorFixture fixture;
    OpenAndRecord(fixture, CloseBox);
    EXPECT_TRUE(fixture.window->isEnabled());
    EXPECT_TRUE(QTest::qWaitForWindowActive(fixture.window));
    EXPECT_EQ(QApplication::focusWidget(), fixture.window->helpButton);
    // And the main window takes input as before.
    fixture.window->originalSizeField->setFocus();
    fixture.window->originalSizeField->setText("250");
    QTest::keyClick(fixture.window->originalSizeField, Qt::Key_Return);
    EXPECT_EQ(Text(fixture.window->modelSizeField), "2,87");
}

TEST(HelpWindow, ACloseRequestForTheMainWindowClosesOnlyTheHelpWindow) {
    CalculatorFixture fixture;
    OpenAndRecord(fixture, [&](QWidget&) { fixture.window->close(); });
    EXPECT_TRUE(fixture.window->isVisible());
    EXPECT_TRUE(fixture.window->isEnabled());
    for (QWidget* top : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(top->isVisible() && top->windowTitle() == "Hilfe");
    }
}

TEST(HelpWindow, KeysDoNothingInIt) {
    CalculatorFixture fixture;
    bool stillOpen = false;
    QWidget* focusInHelp = nullptr;
    OpenAndRecord(fixture, [&](QWidget& help) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backtab}) {
            QTest::keyClick(&help, key);
        }
        stillOpen = help.isVisible();
        focusInHelp = help.focusWidget();
        help.close();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focusInHelp, nullptr);
}

TEST(HelpWindow, IsBuiltTheSameWayEachTime) {
    CalculatorFixture fixture;
    const SeenHelpWindow first = OpenAndRecord(fixture, CloseBox);
    const SeenHelpWindow second = OpenAndRecord(fixture, CloseBox);
    EXPECT_EQ(first.geometries, second.geometries);
    EXPECT_EQ(first.texts, second.texts);
    EXPECT_EQ(second.position, QPoint(320, 320));
}

}  // namespace
