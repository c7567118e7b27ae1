#pragma once

#include <array>
#include <chrono>
#include <string>

class QLineEdit;

// The four number fields of the main window, in the order in which a conversion reads them.
struct NumberFields {
    QLineEdit* originalScaleField = nullptr;
    QLineEdit* modelScaleField = nullptr;
    QLineEdit* originalSizeField = nullptr;
    QLineEdit* modelSizeField = nullptr;

    std::array<QLineEdit*, 4> InReadingOrder() const {
        return {originalScaleField, modelScaleField, originalSizeField, modelSizeField};
    }
};

// How long a field stays hidden while an operation works on it, so the user sees it change.
inline constexpr std::chrono::milliseconds kFieldBlink{100};

// Returns the non-negative number a field's text stands for: every "," counts as the decimal
// point, a text without a number is 0, and the sign is cleared (-0 gives +0, a NaN stays NaN).
// Changes nothing.
float ReadFieldValue(const QLineEdit& field);

// Replaces a field's text without raising a change signal: the program's own writes are not edits.
void WriteFieldText(QLineEdit& field, const std::string& text);

// The field's text as UTF-8.
std::string FieldText(const QLineEdit& field);

bool FieldHasFocus(const QLineEdit& field);
void HideFieldForBlink(QLineEdit& field);  // hides, repaints the gap, pauses
void ShowFieldAfterBlink(QLineEdit& field, bool hadFocus);

// Hides the field, pauses for kFieldBlink, runs the work, shows the field again. The pause blocks
// the thread on purpose: input that arrives meanwhile is handled afterwards, in order. A field
// that had the keyboard focus gets it back, since Qt moves the focus away from a hidden widget.
template <typename Work>
void BlinkField(QLineEdit& field, Work&& work) {
    const bool hadFocus = FieldHasFocus(field);
    HideFieldForBlink(field);
    work();
    ShowFieldAfterBlink(field, hadFocus);
}
