#include "app/toolkit_settings.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "app/start_up.h"
#include "app_test_support.h"

// Runs as a screen with a scale factor of 2 and an English locale, to show that neither
// reaches what the program shows.
namespace {

std::vector<QString> ActionTexts(QMenu& menu) {
    std::vector<QString> texts;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            texts.push_back(action->text().section(QLatin1Char('\t'), 0, 0));
        }
    }
    return texts;
}

TEST(ToolkitSettings, TheFieldsContextMenuIsGermanUnderAnEnglishLocale) {
    QLineEdit field;
    field.setText("12,5");
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    const std::vector<QString> expected = {"&Rückgängig",    "Wieder&herstellen", "&Ausschneiden",
                                           "&Kopieren",      "Einf&ügen",         "Löschen",
                                           "Alles auswählen"};
    EXPECT_EQ(ActionTexts(*menu), expected);
}

TEST(ToolkitSettings, TheNoticesButtonReadsOk) {
    QMessageBox box(QMessageBox::NoIcon, "Hinweis", "x", QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "OK");
}

TEST(ToolkitSettings, TheWindowIsPixelExactOnAScaledScreen) {
    CalculatorFixture fixture;
    MainWindow& window = *fixture.window;
    EXPECT_EQ(window.devicePixelRatio(), 1.0);
    EXPECT_EQ(window.windowHandle()->devicePixelRatio(), 1.0);
    const QPixmap frame = window.grab();
    EXPECT_EQ(frame.size(), QSize(205, 120)) << "device pixels";
    EXPECT_EQ(window.toModelButton->grab().size(), QSize(25, 25));
}

// The control: without the program's setting the same environment does scale, so the test
// above would catch a program that forgot it.
bool WindowIsScaledWithoutTheSetting(int argc, char** argv) {
    const pid_t child = fork();
    if (child == 0) {
        QApplication application(argc, argv);
        QWidget window;
        window.resize(205, 120);
        window.show();
        _exit(window.grab().size() == QSize(410, 240) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    qputenv("LANG", "C");
    qputenv("LC_ALL", "C");
    ::testing::InitGoogleTest(&argc, argv);
    const bool controlScaled = WindowIsScaledWithoutTheSetting(argc, argv);
    TurnOffScreenScaling();
    QApplication application(argc, argv);
    UseGermanForQtTexts(application);
    if (!controlScaled) {
        ADD_FAILURE()
            << "a scale factor of 2 did not scale a plain window: the test proves nothing";
    }
    return RUN_ALL_TESTS();
}
