#include "conversion/number_fields.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <cmath>
#include <thread>

#include "conversion/number_text.h"

float ReadFieldValue(const QLineEdit& field) {
    return std::fabs(ParseDecimal(ReplaceAll(FieldText(field), ",", ".")));
}

void WriteFieldText(QLineEdit& field, const std::string& text) {
    const QSignalBlocker noChangeSignal(&field);
    field.setText(QString::fromStdString(text));
}

std::string FieldText(const QLineEdit& field) {
    return field.text().toStdString();
}

bool FieldHasFocus(const QLineEdit& field) {
    return field.hasFocus();
}

void HideFieldForBlink(QLineEdit& field) {
    field.hide();
    // Qt paints nothing while the thread sleeps; without this repaint the gap is never seen.
    if (QWidget* parent = field.parentWidget()) {
        parent->repaint(field.geometry());
    }
    std::this_thread::sleep_for(kFieldBlink);
}

void ShowFieldAfterBlink(QLineEdit& field, bool hadFocus) {
    field.show();
    if (hadFocus) {
        field.setFocus(Qt::OtherFocusReason);
    }
}
