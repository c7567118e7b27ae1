#pragma once

class QLineEdit;

// The field operations behind the copy, paste and clear buttons and Ctrl+C, Ctrl+V and Escape.
// They change field texts and the clipboard only; the state takes up the new texts at the next
// conversion.

// Rewrites the field's number with 2 decimals and puts that very text on the clipboard.
void CopyField(QLineEdit& field);

// Writes the clipboard's number into the field with the given decimals. Unlike reading a field,
// the sign is kept; a clipboard without text, or without a number, gives the text of 0.
void PasteField(QLineEdit& field, int decimals);

// Empties the field and gives it the keyboard focus.
void ClearField(QLineEdit& field);
