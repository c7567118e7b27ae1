#include "app/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// The face inside the button's border: 17 × 17 of a 25 × 25 button.
constexpr int kBorderWidth = 4;

}  // namespace

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {}

void PictureButton::setPicture(const QPixmap& picture) {
    picture_ = picture;
    repaint();
}

void PictureButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    if (picture_.isNull()) {
        return;
    }
    const QRect face = rect().adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth);
    QPoint topLeft((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
    if (isDown()) {
        topLeft += QPoint(1, 1);
    }
    painter.setClipRect(face);
    painter.drawPixmap(topLeft, picture_);
}
