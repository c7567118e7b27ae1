#include "conversion/field_clipboard.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

#include "conversion/number_fields.h"
#include "conversion/number_text.h"

namespace {

std::string ClipboardText() {
    // The offered formats are asked for once: an owner that has stopped answering then costs
    // one of Qt's clipboard timeouts (a few seconds), where text() or hasText() would wait once
    // for each format they try. No text, only a picture, or no answer: the empty text.
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (offered == nullptr) {
        return "";
    }
    const QStringList formats = offered->formats();
    const bool hasText = std::any_of(formats.begin(), formats.end(), [](const QString& format) {
        return format.startsWith(QLatin1String("text/plain"));
    });
    return hasText ? offered->text().toStdString() : "";
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
