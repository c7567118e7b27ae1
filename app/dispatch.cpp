#include "app/dispatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <array>

#include "app/help_window.h"
#include "conversion/field_clipboard.h"
#include "conversion/scale_conversion.h"

namespace {

void ConvertToModel(Calculator& c) {
    ComputeModelSize(c.scale, c.window->Fields());
    AppendLogRow(c.log, c.scale);
}

void ConvertToOriginal(Calculator& c) {
    ComputeOriginalSize(c.scale, c.window->Fields());
    AppendLogRow(c.log, c.scale);
}

using ButtonOperation = void (*)(Calculator&);

struct ButtonRow {
    PictureButton* MainWindow::*button;
    ButtonOperation operation;
};

// What a click on each button does.
// clang-format off
const ButtonRow kButtonTable[] = {
    {&MainWindow::logToggleButton,     ToggleLog},
    {&MainWindow::helpButton,          ShowHelpWindow},
    {&MainWindow::copyOriginalButton,  [](Calculator& c) { CopyField(*c.window->originalSizeField); }},
    {&MainWindow::pasteOriginalButton, [](Calculator& c) { PasteField(*c.window->originalSizeField, 2); }},
    {&MainWindow::clearOriginalButton, [](Calculator& c) { ClearField(*c.window->originalSizeField); }},
    {&MainWindow::copyModelButton,     [](Calculator& c) { CopyField(*c.window->modelSizeField); }},
    {&MainWindow::pasteModelButton,    [](Calculator& c) { PasteField(*c.window->modelSizeField, 2); }},
    {&MainWindow::clearModelButton,    [](Calculator& c) { ClearField(*c.window->modelSizeField); }},
    {&MainWindow::toOriginalButton,    ConvertToOriginal},
    {&MainWindow::toModelButton,       ConvertToModel},
};
// clang-format on

using FieldOperation = void (*)(Calculator&, QLineEdit&);

const FieldOperation Copy = [](Calculator&, QLineEdit& field) { CopyField(field); };
const FieldOperation Paste1 = [](Calculator&, QLineEdit& field) { PasteField(field, 1); };
const FieldOperation Paste2 = [](Calculator&, QLineEdit& field) { PasteField(field, 2); };
const FieldOperation Clear = [](Calculator&, QLineEdit& field) { ClearField(field); };
const FieldOperation ToModel = [](Calculator& c, QLineEdit&) { ConvertToModel(c); };
const FieldOperation ToOriginal = [](Calculator& c, QLineEdit&) { ConvertToOriginal(c); };
const FieldOperation Nothing = nullptr;

struct ShortcutRow {
    ShortcutId shortcut;
    // By the focused field, in the order of NumberFields::InReadingOrder().
    std::array<FieldOperation, 4> byFocusedField;
};

// What each shortcut does, by the field that has the focus; with the focus elsewhere, nothing.
// clang-format off
const ShortcutRow kShortcutTable[] = {
    //                         originalScale  modelScale  originalSize  modelSize
    {ShortcutId::CopyNumber,  {Copy,          Copy,       Copy,         Copy}},
    {ShortcutId::PasteNumber, {Paste1,        Paste1,     Paste2,       Paste2}},
    {ShortcutId::Compute,     {Nothing,       Nothing,    ToModel,      ToOriginal}},
    {ShortcutId::ClearNumber, {Clear,         Clear,      Clear,        Clear}},
};
// clang-format on

struct KeyRow {
    int key;
    Qt::KeyboardModifiers modifiers;
    ShortcutId shortcut;
};

// The four keys, each with exactly its modifiers, in the order they are registered.
const KeyRow kKeyTable[] = {
    {Qt::Key_C, Qt::ControlModifier, ShortcutId::CopyNumber},
    {Qt::Key_V, Qt::ControlModifier, ShortcutId::PasteNumber},
    {Qt::Key_Return, Qt::NoModifier, ShortcutId::Compute},
    {Qt::Key_Enter, Qt::NoModifier, ShortcutId::Compute},
    {Qt::Key_Escape, Qt::NoModifier, ShortcutId::ClearNumber},
};

}  // namespace

std::optional<ShortcutId> RecognisedShortcut(const QKeyEvent& key) {
    const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                                          Qt::AltModifier | Qt::MetaModifier);
    for (const KeyRow& row : kKeyTable) {
        if (key.key() == row.key && held == row.modifiers) {
            return row.shortcut;
        }
    }
    return std::nullopt;
}

void ConnectButtons(Calculator& calculator) {
    for (const ButtonRow& row : kButtonTable) {
        PictureButton* button = calculator.window.get()->*row.button;
        const ButtonOperation operation = row.operation;
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [&calculator, operation] { operation(calculator); });
    }
}

void DispatchShortcut(Calculator& calculator, ShortcutId shortcut) {
    QWidget* focused = QApplication::focusWidget();
    const auto fields = calculator.window->Fields().InReadingOrder();
    for (const ShortcutRow& row : kShortcutTable) {
        if (row.shortcut != shortcut) {
            continue;
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (fields[i] == focused && row.byFocusedField[i] != Nothing) {
                row.byFocusedField[i](calculator, *fields[i]);
            }
        }
    }
}

void ToggleLog(Calculator& calculator) {
    if (IsLogging(calculator.log)) {
        StopLogging(calculator.log);
    } else {
        StartLogging(calculator.log, calculator.window.get());
    }
    calculator.window->ShowLogState(IsLogging(calculator.log));
}
