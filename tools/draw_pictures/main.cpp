// Draws the toolbar pictures, keycap hints and program icons of Vantrelo.
// The pictures are generated rather than hand-edited so that every size stays
// consistent and can be regenerated after a colour or layout change.
//
// Usage: draw_pictures <repository root>

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// The BMP pictures have no alpha channel, so they carry the usual dialog face
// colour to blend into the toolbar and the dialog around them.
const QColor kDialogFace(0xef, 0xef, 0xef);
const QColor kInk(0x20, 0x20, 0x20);
const QColor kSheetBorder(0x55, 0x5a, 0x60);
const QColor kSheetLine(0x7a, 0x86, 0x94);
const QColor kBullet(0x1f, 0x6f, 0xd0);

QImage makeOpaqueCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(kDialogFace);
    return image;
}

QImage makeTransparentCanvas(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void startSmoothPainting(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

QFont boldSansFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Filling whole pixels and stroking the border on pixel centres keeps one
// pixel wide edges sharp instead of smearing them over two pixels.
void drawCrispBox(QPainter& painter, const QRect& box, const QColor& fill, const QColor& border) {
    painter.fillRect(box, fill);
    painter.setPen(QPen(border, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
}

void drawHorizontalRule(QPainter& painter, int left, int right, int y, const QColor& colour) {
    painter.fillRect(QRect(QPoint(left, y), QPoint(right, y)), colour);
}

// A white sheet with a bullet and a text line per row; shared by the list,
// copy and paste pictures so that they look like one family.
void drawSheetWithRows(QPainter& painter, const QRect& sheet, const std::vector<int>& rowOffsets) {
    drawCrispBox(painter, sheet, Qt::white, kSheetBorder);
    for (const int offset : rowOffsets) {
        const int y = sheet.top() + offset;
        drawHorizontalRule(painter, sheet.left() + 2, sheet.left() + 2, y, kBullet);
        drawHorizontalRule(painter, sheet.left() + 4, sheet.right() - 2, y, kSheetLine);
    }
}

QImage drawHelpPicture() {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    startSmoothPainting(painter);

    QRadialGradient shade(QPointF(6.0, 5.0), 10.0);
    shade.setColorAt(0.0, QColor(0x5a, 0x9c, 0xf0));
    shade.setColorAt(1.0, QColor(0x17, 0x56, 0xb8));
    painter.setPen(QPen(QColor(0x10, 0x40, 0x8c), 1.0));
    painter.setBrush(shade);
    painter.drawEllipse(QRectF(0.5, 0.5, 15.0, 15.0));

    painter.setPen(Qt::white);
    painter.setFont(boldSansFont(13));
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return image;
}

const std::vector<int> kListRows = {2, 5, 8, 11};

QRect listSheetRect() {
    return QRect(2, 1, 12, 14);
}

QImage drawListPicture() {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    drawSheetWithRows(painter, listSheetRect(), kListRows);
    return image;
}

// A red "recording" dot on the list says that every conversion is being
// logged; the white ring separates it from the sheet's lines.
QImage drawActiveListPicture() {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    drawSheetWithRows(painter, listSheetRect(), kListRows);

    startSmoothPainting(painter);
    QRadialGradient glow(QPointF(10.8, 10.8), 4.5);
    glow.setColorAt(0.0, QColor(0xff, 0x6b, 0x5e));
    glow.setColorAt(1.0, QColor(0xd0, 0x15, 0x10));
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(11.5, 11.5), 4.0, 4.0);
    return image;
}

QImage drawCopyPicture() {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    drawSheetWithRows(painter, QRect(1, 1, 9, 11), {3, 5});
    drawSheetWithRows(painter, QRect(6, 4, 9, 11), {3, 5, 7});
    return image;
}

QImage drawPastePicture() {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    drawCrispBox(painter, QRect(1, 2, 11, 13), QColor(0xc0, 0x8a, 0x4a), QColor(0x6b, 0x44, 0x20));
    drawCrispBox(painter, QRect(4, 1, 5, 3), QColor(0xb8, 0xbe, 0xc6), QColor(0x4a, 0x4f, 0x55));
    drawSheetWithRows(painter, QRect(6, 5, 9, 10), {3, 5, 7});
    return image;
}

void strokeCross(QPainter& painter, const QColor& colour, qreal width) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

// A dark rim around the bright stroke keeps the cross visible on any
// toolbar colour.
QImage drawDeletePicture() {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    startSmoothPainting(painter);
    strokeCross(painter, QColor(0x8e, 0x16, 0x10), 4.6);
    strokeCross(painter, QColor(0xf0, 0x3a, 0x2e), 2.6);
    return image;
}

QPolygonF rightPointingArrow() {
    return QPolygonF({QPointF(1.5, 5.5), QPointF(8.0, 5.5), QPointF(8.0, 1.5), QPointF(14.5, 8.0),
                      QPointF(8.0, 14.5), QPointF(8.0, 10.5), QPointF(1.5, 10.5)});
}

QImage drawArrowPicture(bool pointsLeft) {
    QImage image = makeOpaqueCanvas(16, 16);
    QPainter painter(&image);
    startSmoothPainting(painter);
    if (pointsLeft) {
        painter.translate(16.0, 0.0);
        painter.scale(-1.0, 1.0);
    }
    QLinearGradient shade(QPointF(0.0, 2.0), QPointF(0.0, 14.0));
    shade.setColorAt(0.0, QColor(0x4f, 0xb0, 0x4a));
    shade.setColorAt(1.0, QColor(0x1f, 0x7a, 0x22));
    painter.setPen(
        QPen(QColor(0x12, 0x4a, 0x14), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(shade);
    painter.drawPolygon(rightPointingArrow());
    return image;
}

QImage drawLeftArrowPicture() {
    return drawArrowPicture(true);
}
QImage drawRightArrowPicture() {
    return drawArrowPicture(false);
}

// The keycap face sits on a darker base two pixels lower, which reads as a
// key that can be pressed.
QRectF drawKeycap(QPainter& painter, int left, int right) {
    const QRectF face(left + 0.5, 0.5, right - left, 16.0);
    const QRectF base = face.adjusted(0.0, 4.0, 0.0, 2.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x8c, 0x8c, 0x8c));
    painter.drawRoundedRect(base, 3.0, 3.0);

    QLinearGradient shine(face.topLeft(), face.bottomLeft());
    shine.setColorAt(0.0, Qt::white);
    shine.setColorAt(1.0, QColor(0xdd, 0xdd, 0xdd));
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1.0));
    painter.setBrush(shine);
    painter.drawRoundedRect(face, 3.0, 3.0);
    return face;
}

void writeKeyLabel(QPainter& painter, const QRectF& face, const QString& label) {
    painter.setPen(kInk);
    painter.setFont(boldSansFont(10));
    painter.drawText(face, Qt::AlignCenter, label);
}

// "STRG" and the letter sit on two keys joined by a plus, the way a key
// combination is printed in a manual.
QImage drawKeyCombinationPicture(const QString& letter) {
    QImage image = makeOpaqueCanvas(70, 20);
    QPainter painter(&image);
    startSmoothPainting(painter);
    writeKeyLabel(painter, drawKeycap(painter, 0, 38), QStringLiteral("STRG"));
    painter.setPen(kInk);
    painter.setFont(boldSansFont(11));
    painter.drawText(QRectF(38.0, 0.0, 13.0, 17.0), Qt::AlignCenter, QStringLiteral("+"));
    writeKeyLabel(painter, drawKeycap(painter, 51, 69), letter);
    return image;
}

QImage drawCopyKeysPicture() {
    return drawKeyCombinationPicture(QStringLiteral("C"));
}
QImage drawPasteKeysPicture() {
    return drawKeyCombinationPicture(QStringLiteral("V"));
}

QImage drawEscapeKeyPicture() {
    QImage image = makeOpaqueCanvas(70, 20);
    QPainter painter(&image);
    startSmoothPainting(painter);
    writeKeyLabel(painter, drawKeycap(painter, 14, 55), QStringLiteral("ESC"));
    return image;
}

// The hooked arrow is drawn by hand because a font glyph that small would be
// blurred and its size would depend on the installed fonts.
void drawReturnArrow(QPainter& painter, qreal right, qreal top) {
    const qreal bottom = top + 6.0;
    const qreal left = right - 8.0;
    painter.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(right, top);
    hook.lineTo(right, bottom);
    hook.lineTo(left + 2.0, bottom);
    painter.drawPath(hook);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    painter.drawPolygon(QPolygonF({QPointF(left - 0.5, bottom), QPointF(left + 3.0, bottom - 3.0),
                                   QPointF(left + 3.0, bottom + 3.0)}));
}

QImage drawReturnKeyPicture() {
    QImage image = makeOpaqueCanvas(70, 20);
    QPainter painter(&image);
    startSmoothPainting(painter);
    const QRectF face = drawKeycap(painter, 0, 69);
    writeKeyLabel(painter, face.adjusted(4.0, 0.0, -14.0, 0.0), QStringLiteral("Return"));
    drawReturnArrow(painter, face.right() - 6.0, face.top() + 4.5);
    return image;
}

// The program icon: a house and its model beside it on a ruler, i.e. one
// object in two scales. The geometry is given as fractions of the icon size
// and snapped to whole pixels so that the small sizes stay sharp.
class IconGeometry {
  public:
    explicit IconGeometry(int size) : size_(size) {}

    int px(double fraction) const { return qRound(fraction * size_); }
    int size() const { return size_; }
    bool showsDetails() const { return size_ >= 32; }
    bool drawsSmoothRoofs() const { return size_ >= 32; }
    bool showsScaleLabel() const { return size_ >= 128; }
    qreal outlineWidth() const { return std::max(1.0, size_ / 40.0); }

  private:
    int size_;
};

const QColor kWall(0xf6, 0xec, 0xd6);
const QColor kWallBorder(0x4a, 0x34, 0x24);
const QColor kRoof(0xcc, 0x3f, 0x2a);
const QColor kRoofBorder(0x7a, 0x1e, 0x12);
const QColor kWindow(0x4a, 0x8c, 0xd8);
const QColor kRulerFace(0xf7, 0xc8, 0x3c);
const QColor kRulerBorder(0x7a, 0x5a, 0x00);

QRectF insetForStroke(const QRect& box, qreal strokeWidth) {
    const qreal half = strokeWidth / 2.0;
    return QRectF(box).adjusted(half, half, -half, -half);
}

void drawHouseWindowsAndDoor(QPainter& painter, const QRect& wall, qreal stroke) {
    const int unit = std::max(2, wall.width() / 6);
    const QRect door(wall.left() + unit, wall.bottom() + 1 - 2 * unit - unit / 2, unit,
                     2 * unit + unit / 2);
    const QRect window(wall.right() + 1 - 3 * unit, wall.top() + unit, 2 * unit, unit + unit / 2);
    painter.setPen(QPen(kWallBorder, stroke * 0.7));
    painter.setBrush(QColor(0x8a, 0x5a, 0x34));
    painter.drawRect(insetForStroke(door, stroke * 0.7));
    painter.setBrush(kWindow);
    painter.drawRect(insetForStroke(window, stroke * 0.7));
}

struct HouseStyle {
    qreal stroke;
    bool smoothRoof;
    bool withWindows;
};

void drawSmoothRoof(QPainter& painter, const QRect& wall, int roofHeight, qreal stroke) {
    const qreal overhang = std::max(1.0, wall.width() / 10.0);
    const qreal eaves = wall.top() + stroke;
    const qreal apexX = wall.left() + wall.width() / 2.0;
    const QPolygonF roof({QPointF(wall.left() - overhang + stroke / 2.0, eaves),
                          QPointF(apexX, eaves - roofHeight),
                          QPointF(wall.right() + 1 + overhang - stroke / 2.0, eaves)});
    painter.setPen(QPen(kRoofBorder, stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(kRoof);
    painter.drawPolygon(roof);
}

// At a few pixels an antialiased slope turns into a pink smear, so small roofs
// are built as a 45 degree staircase of whole pixel rows; it also covers the
// wall's top edge so that roof and wall meet without a gap.
void drawStaircaseRoof(QPainter& painter, const QRect& wall) {
    int left = wall.left() - 1;
    int right = wall.right() + 1;
    for (int y = wall.top(); left <= right; --y, ++left, --right) {
        painter.fillRect(QRect(QPoint(left, y), QPoint(right, y)), kRoof);
    }
}

// The roof overhangs the walls a little and stands on their top edge.
void drawHouse(QPainter& painter, const QRect& wall, int roofHeight, const HouseStyle& style) {
    const qreal stroke = style.stroke;
    painter.setPen(QPen(kWallBorder, stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(kWall);
    painter.drawRect(insetForStroke(wall, stroke));
    if (style.withWindows) {
        drawHouseWindowsAndDoor(painter, wall, stroke);
    }
    if (style.smoothRoof) {
        drawSmoothRoof(painter, wall, roofHeight, stroke);
    } else {
        drawStaircaseRoof(painter, wall);
    }
}

void drawRulerTicks(QPainter& painter, const QRect& ruler, const IconGeometry& geometry) {
    const int step = std::max(2, geometry.px(1.0 / 16.0));
    const int tickWidth = std::max(1, geometry.size() / 64);
    const int shortTick = std::max(1, ruler.height() / 4);
    const int longTick = std::max(2, ruler.height() / 2);
    int index = 0;
    for (int x = ruler.left() + step; x < ruler.right() - 1; x += step, ++index) {
        const int length = (index % 2 == 1) ? longTick : shortTick;
        painter.fillRect(QRect(x, ruler.top(), tickWidth, length), kRulerBorder);
    }
}

void drawScaleLabel(QPainter& painter, const QRect& ruler) {
    painter.setPen(kRulerBorder.darker(140));
    painter.setFont(boldSansFont(ruler.height() * 11 / 20));
    const QRect lowerHalf = ruler.adjusted(0, ruler.height() * 2 / 5, 0, 0);
    painter.drawText(lowerHalf, Qt::AlignCenter, QStringLiteral("1:87"));
}

void drawRuler(QPainter& painter, const QRect& ruler, const IconGeometry& geometry) {
    const qreal stroke = geometry.outlineWidth();
    painter.setPen(QPen(kRulerBorder, stroke));
    painter.setBrush(kRulerFace);
    painter.drawRect(insetForStroke(ruler, stroke));
    drawRulerTicks(painter, ruler, geometry);
    if (geometry.showsScaleLabel()) {
        drawScaleLabel(painter, ruler);
    }
}

QImage drawAppIcon(int size) {
    const IconGeometry geometry(size);
    QImage image = makeTransparentCanvas(size);
    QPainter painter(&image);
    startSmoothPainting(painter);

    const QRect ruler(QPoint(0, geometry.px(0.70)), QPoint(size - 1, size - 1 - geometry.px(0.04)));
    const int ground = ruler.top();
    const QRect bigWall(QPoint(geometry.px(0.08), geometry.px(0.36)),
                        QPoint(geometry.px(0.56) - 1, ground - 1));
    const int smallWidth = std::max(4, bigWall.width() / 2);
    const int smallHeight = std::max(3, bigWall.height() / 2);
    const QRect smallWall(QPoint(size - geometry.px(0.08) - smallWidth, ground - smallHeight),
                          QPoint(size - geometry.px(0.08) - 1, ground - 1));

    const HouseStyle bigStyle{geometry.outlineWidth(), geometry.drawsSmoothRoofs(),
                              geometry.showsDetails()};
    const HouseStyle smallStyle{geometry.outlineWidth(), geometry.drawsSmoothRoofs(), false};
    drawHouse(painter, bigWall, geometry.px(0.30), bigStyle);
    drawHouse(painter, smallWall, std::max(2, geometry.px(0.15)), smallStyle);
    drawRuler(painter, ruler, geometry);
    return image;
}

struct Picture {
    QString relativePath;
    std::function<QImage()> draw;
};

std::vector<Picture> allPictures() {
    std::vector<Picture> pictures = {
        {QStringLiteral("Assets/help.bmp"), drawHelpPicture},
        {QStringLiteral("Assets/list.bmp"), drawListPicture},
        {QStringLiteral("Assets/list_active.bmp"), drawActiveListPicture},
        {QStringLiteral("Assets/copy.bmp"), drawCopyPicture},
        {QStringLiteral("Assets/paste.bmp"), drawPastePicture},
        {QStringLiteral("Assets/delete.bmp"), drawDeletePicture},
        {QStringLiteral("Assets/arrow_left.bmp"), drawLeftArrowPicture},
        {QStringLiteral("Assets/arrow_right.bmp"), drawRightArrowPicture},
        {QStringLiteral("Assets/STRG+C.bmp"), drawCopyKeysPicture},
        {QStringLiteral("Assets/STRG+V.bmp"), drawPasteKeysPicture},
        {QStringLiteral("Assets/ESC.bmp"), drawEscapeKeyPicture},
        {QStringLiteral("Assets/Return.bmp"), drawReturnKeyPicture},
    };
    for (const int size : {16, 24, 32, 48, 256}) {
        pictures.push_back({QStringLiteral("app/icons/vantrelo_%1.png").arg(size),
                            [size] { return drawAppIcon(size); }});
    }
    return pictures;
}

bool savePicture(const QDir& root, const Picture& picture) {
    const QString path = root.filePath(picture.relativePath);
    if (!root.mkpath(QFileInfo(path).path())) {
        return false;
    }
    const char* format = path.endsWith(QStringLiteral(".bmp")) ? "BMP" : "PNG";
    return picture.draw().save(path, format);
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    QTextStream errors(stderr);
    if (argc != 2) {
        errors << "Usage: draw_pictures <repository root>\n";
        return 2;
    }

    const QDir root(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (const Picture& picture : allPictures()) {
        if (!savePicture(root, picture)) {
            errors << "Could not write " << root.filePath(picture.relativePath) << '\n';
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
