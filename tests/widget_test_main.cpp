#include <gtest/gtest.h>

#include <QApplication>

// Widget tests run on Qt's offscreen platform: real widgets and an in-process clipboard,
// no display needed.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
