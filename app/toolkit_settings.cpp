#include "app/toolkit_settings.h"

#include <QCoreApplication>
#include <QTranslator>

void TurnOffScreenScaling() {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_AUTO_SCREEN_SCALE_FACTOR");
    qunsetenv("QT_USE_PHYSICAL_DPI");
}

void UseGermanForQtTexts(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral(":/translations/qtbase_de.qm"))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}
