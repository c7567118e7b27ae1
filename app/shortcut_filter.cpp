#include "app/shortcut_filter.h"

#include <QApplication>
#include <QKeyEvent>

#include "app/calculator.h"
#include "app/dispatch.h"

ShortcutFilter::ShortcutFilter(Calculator& calculator, QObject* owner)
    : QObject(owner), calculator_(calculator) {}

bool ShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    // The shortcuts belong to the main window while it is active; an open context menu keeps
    // its own keys (Escape closes the menu, it does not clear the field).
    auto* widget = qobject_cast<QWidget*>(watched);
    MainWindow* window = calculator_.window.get();
    if (widget == nullptr || widget->window() != window || QApplication::activeWindow() != window ||
        QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    const std::optional<ShortcutId> shortcut = RecognisedShortcut(*static_cast<QKeyEvent*>(event));
    if (!shortcut) {
        return false;
    }
    DispatchShortcut(calculator_, *shortcut);
    return true;
}
