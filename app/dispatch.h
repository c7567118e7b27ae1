#pragma once

#include <optional>

#include "app/calculator.h"

class QKeyEvent;

// The ids of the main window's four keyboard shortcuts.
enum class ShortcutId { CopyNumber = 1, PasteNumber = 2, Compute = 13, ClearNumber = 27 };

// Which shortcut a key press is, if any: only with exactly its modifiers (the keypad's Enter
// counts as Return).
std::optional<ShortcutId> RecognisedShortcut(const QKeyEvent& key);

// Connects each button of the main window to its operation.
void ConnectButtons(Calculator& calculator);

// Runs the shortcut's operation for the widget that has the keyboard focus now; with the focus
// anywhere but in one of the four number fields, nothing happens.
void DispatchShortcut(Calculator& calculator, ShortcutId shortcut);

// The log button: starts or stops the log, then shows whether one is open.
void ToggleLog(Calculator& calculator);
