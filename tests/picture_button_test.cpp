#include "app/picture_button.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

namespace {

QPixmap Solid(QSize size, QColor colour) {
    QPixmap picture(size);
    picture.fill(colour);
    return picture;
}

QImage Face(PictureButton& button) {
    return button.grab().toImage();
}

struct PixelCase {
    const char* name;
    QSize pictureSize;
    bool down;
    QPoint point;
    bool showsPicture;
};

TEST(PictureButton, ShowsThePictureCentredUnscaledAndCutToTheFace) {
    // clang-format off
    const PixelCase cases[] = {
        // A 16 × 16 picture in a 25 × 25 button stands at (4, 4) to (19, 19).
        {"small: first pixel",        {16, 16}, false, {4, 4},   true},
        {"small: last pixel",         {16, 16}, false, {19, 19}, true},
        {"small: beside it",          {16, 16}, false, {20, 20}, false},
        {"small: before it",          {16, 16}, false, {3, 3},   false},
        // Held down, it moves one pixel right and down.
        {"down: old first pixel",     {16, 16}, true,  {4, 4},   false},
        {"down: new first pixel",     {16, 16}, true,  {5, 5},   true},
        {"down: new last pixel",      {16, 16}, true,  {20, 20}, true},
        // A larger picture is cut to the 17 × 17 face inside the border, not scaled.
        {"large: face corner",        {24, 24}, false, {4, 4},   true},
        {"large: opposite corner",    {24, 24}, false, {20, 20}, true},
        {"large: border stays clear", {24, 24}, false, {3, 12},  false},
        {"large: far border clear",   {24, 24}, false, {21, 12}, false},
    };
    // clang-format on
    const QColor marker(255, 0, 255);
    for (const PixelCase& row : cases) {
        SCOPED_TRACE(row.name);
        QWidget window;
        PictureButton button(&window);
        button.setGeometry(0, 0, 25, 25);
        button.setPicture(Solid(row.pictureSize, marker));
        button.setDown(row.down);
        EXPECT_EQ(Face(button).pixelColor(row.point) == marker, row.showsPicture);
    }
}

TEST(PictureButton, AnEmptyPictureLeavesAPlainFace) {
    QWidget window;
    PictureButton plain(&window);
    plain.setGeometry(0, 0, 25, 25);
    PictureButton emptied(&window);
    emptied.setGeometry(0, 0, 25, 25);
    emptied.setPicture(Solid({16, 16}, Qt::blue));
    emptied.setPicture(QPixmap());
    EXPECT_EQ(Face(emptied), Face(plain));
}

}  // namespace
