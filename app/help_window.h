#pragma once

#include <QWidget>

#include "app/pictures.h"

struct Calculator;

// The reference card: each picture of the main window and each shortcut key, with what it does.
// Built anew each time it is shown; its widgets take no focus and never change.
class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(const Pictures& pictures);

    // Lays out the 27 widgets for the inner width the window reports once it is open.
    void BuildContents(int innerWidth);

  signals:
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const Pictures& pictures_;
};

inline constexpr const char* kHelpWindowTitle = "Hilfe";

// Shows the help window and returns when it has been closed. Meanwhile the main window is
// disabled; afterwards it is enabled and active again, with the focus where it was.
void ShowHelpWindow(Calculator& calculator);
