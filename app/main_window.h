#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "app/picture_button.h"
#include "app/pictures.h"
#include "conversion/number_fields.h"
#include "conversion/scale_state.h"

// The calculator's window: seventeen widgets at fixed pixel positions. It only builds and holds
// them; what a click or a key does is decided by the dispatch.
class MainWindow : public QWidget {
    Q_OBJECT

  public:
    // Builds the widgets in their tab order, the scale fields showing the state's ratio.
    MainWindow(const Pictures& pictures, const ScaleState& state);

    NumberFields Fields() const;

    // Shows the log button's picture, tooltip and face for whether a log is open.
    void ShowLogState(bool logging);

    PictureButton* logToggleButton;
    PictureButton* helpButton;
    QLineEdit* originalScaleField;
    QLineEdit* ratioSeparator;
    QLineEdit* modelScaleField;
    QLabel* originalLabel;
    QLineEdit* originalSizeField;
    PictureButton* copyOriginalButton;
    PictureButton* pasteOriginalButton;
    PictureButton* clearOriginalButton;
    PictureButton* toOriginalButton;
    PictureButton* toModelButton;
    QLabel* modelLabel;
    QLineEdit* modelSizeField;
    PictureButton* copyModelButton;
    PictureButton* pasteModelButton;
    PictureButton* clearModelButton;

  signals:
    // The user (or the window manager) asked to close the window. The window stays open: the
    // program decides what a close request means.
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const Pictures& pictures_;
};

inline constexpr const char* kMainWindowTitle = "Vantrelo 1.10";
