#include "app/main_window.h"

#include <QCloseEvent>

#include "conversion/number_text.h"

namespace {

constexpr int kInnerWidth = 205;
constexpr int kInnerHeight = 120;
constexpr QPoint kScreenPosition{300, 300};

void Name(QWidget* widget, const char* objectName, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleName(accessibleName);
}

PictureButton* AddButton(QWidget* window, const char* name, QRect geometry, const QPixmap& picture,
                         const QString& tooltip) {
    auto* button = new PictureButton(window);
    Name(button, name, tooltip);
    button->setGeometry(geometry);
    button->setPicture(picture);
    button->setToolTip(tooltip);
    // A click moves the focus to the button, as Tab does; the shortcuts then do nothing.
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* AddField(QWidget* window, const char* name, QRect geometry, Qt::Alignment alignment,
                    const QString& text, const QString& tooltip) {
    auto* field = new QLineEdit(window);
    Name(field, name, tooltip);
    field->setGeometry(geometry);
    field->setAlignment(alignment | Qt::AlignVCenter);
    field->setText(text);
    field->setToolTip(tooltip);
    return field;
}

QLabel* AddLabel(QWidget* window, const char* name, QRect geometry, const QString& text) {
    auto* label = new QLabel(text, window);
    Name(label, name, text);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QString ScaleText(float value) {
    return QString::fromStdString(FormatFixed(static_cast<double>(value), 1, ",", ""));
}

}  // namespace

MainWindow::MainWindow(const Pictures& pictures, const ScaleState& state)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      pictures_(pictures) {
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    setFixedSize(kInnerWidth, kInnerHeight);
    move(kScreenPosition);
    setAttribute(Qt::WA_AlwaysShowToolTips);

    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centre = Qt::AlignHCenter;
    logToggleButton = AddButton(this, "logToggleButton", {0, 0, 25, 25}, pictures[Picture::List],
                                "Speichern in Datei beginnen");
    logToggleButton->setCheckable(true);
    helpButton = AddButton(this, "helpButton", {180, 0, 25, 25}, pictures[Picture::Help], "Hilfe");
    originalScaleField = AddField(this, "originalScaleField", {45, 10, 50, 20}, left,
                                  ScaleText(state.originalScale), "Original-Maßstab");
    ratioSeparator = AddField(this, "ratioSeparator", {95, 10, 20, 20}, centre, " : ", "");
    ratioSeparator->setReadOnly(true);
    ratioSeparator->setAccessibleName("Verhältnis");
    modelScaleField = AddField(this, "modelScaleField", {115, 10, 50, 20}, left,
                               ScaleText(state.modelScale), "Modell-Maßstab");
    originalLabel = AddLabel(this, "originalLabel", {10, 40, 75, 20}, "Original");
    originalSizeField =
        AddField(this, "originalSizeField", {10, 60, 75, 20}, centre, "", "Original-Maß");
    copyOriginalButton = AddButton(this, "copyOriginalButton", {10, 80, 25, 25},
                                   pictures[Picture::Copy], "Kopieren");
    pasteOriginalButton = AddButton(this, "pasteOriginalButton", {35, 80, 25, 25},
                                    pictures[Picture::Paste], "Einfügen");
    clearOriginalButton = AddButton(this, "clearOriginalButton", {60, 80, 25, 25},
                                    pictures[Picture::Delete], "Löschen");
    toOriginalButton = AddButton(this, "toOriginalButton", {90, 45, 25, 25},
                                 pictures[Picture::ArrowLeft], "Original-Maß berechnen");
    toModelButton = AddButton(this, "toModelButton", {90, 70, 25, 25},
                              pictures[Picture::ArrowRight], "Modell-Maß berechnen");
    modelLabel = AddLabel(this, "modelLabel", {120, 40, 75, 20}, "Modell");
    modelSizeField = AddField(this, "modelSizeField", {120, 60, 75, 20}, centre, "", "Modell-Maß");
    copyModelButton =
        AddButton(this, "copyModelButton", {120, 80, 25, 25}, pictures[Picture::Copy], "Kopieren");
    pasteModelButton = AddButton(this, "pasteModelButton", {145, 80, 25, 25},
                                 pictures[Picture::Paste], "Einfügen");
    clearModelButton = AddButton(this, "clearModelButton", {170, 80, 25, 25},
                                 pictures[Picture::Delete], "Löschen");

    // Qt would focus the first widget of the tab chain on activation; holding the focus in the
    // window itself means no widget has it at start, so the shortcuts wait for a field.
    setFocus(Qt::OtherFocusReason);
}

NumberFields MainWindow::Fields() const {
    return {originalScaleField, modelScaleField, originalSizeField, modelSizeField};
}

void MainWindow::ShowLogState(bool logging) {
    logToggleButton->setPicture(pictures_[logging ? Picture::ListActive : Picture::List]);
    const QString tooltip = logging ? QStringLiteral("Speichern in Datei beenden")
                                    : QStringLiteral("Speichern in Datei beginnen");
    logToggleButton->setToolTip(tooltip);
    logToggleButton->setAccessibleName(tooltip);
    // Qt flips the face at every click, also when a start failed; keep it telling the truth.
    logToggleButton->setChecked(logging);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}
