#pragma once

#include <QPixmap>
#include <QPushButton>

// A push button that shows a picture at its own size, centred and cut to the face inside the
// border, moved by one pixel while the button is held down. QPushButton's icon would be scaled.
class PictureButton : public QPushButton {
    Q_OBJECT

  public:
    explicit PictureButton(QWidget* parent);

    // Replaces the picture and repaints at once; an empty picture leaves a plain face.
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
};
