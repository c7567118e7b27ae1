#pragma once

#include <QObject>

struct Calculator;

// Takes the main window's four shortcut keys before the focused widget sees them. A QLineEdit
// claims Ctrl+C and Ctrl+V for itself, so a QShortcut would never fire inside a field; watching
// every key press of the application is the one place that comes first.
class ShortcutFilter : public QObject {
    Q_OBJECT

  public:
    ShortcutFilter(Calculator& calculator, QObject* owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Calculator& calculator_;
};
