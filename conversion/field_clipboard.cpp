#include "conversion/field_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include "conversion/number_fields.h"
#include "conversion/number_text.h"

namespace {

std::string ClipboardText() {
    // text() gives the empty string when the clipboard holds no text, only a picture, or its
    // owner does not answer in time.
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
}

void PutOnClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

}  // namespace

void CopyField(QLineEdit& field) {
    BlinkField(field, [&] {
        const std::string text =
            FormatFixed(static_cast<double>(ReadFieldValue(field)), 2, ",", "");
        WriteFieldText(field, text);
        PutOnClipboard(text);
    });
}

void PasteField(QLineEdit& field, int decimals) {
    BlinkField(field, [&] {
        const float value = ParseDecimal(ReplaceAll(ClipboardText(), ",", "."));
        WriteFieldText(field, FormatFixed(static_cast<double>(value), decimals, ",", ""));
    });
}

void ClearField(QLineEdit& field) {
    BlinkField(field, [&] { WriteFieldText(field, ""); });
    field.setFocus(Qt::OtherFocusReason);
}
