#include "app/help_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>

#include "app/calculator.h"

namespace {

constexpr int kInnerWidth = 305;
constexpr int kInnerHeight = 425;
constexpr QPoint kScreenPosition{320, 320};

enum class Row { Heading, Bordered, Key };

struct HelpRow {
    Row kind;
    const char* text;  // the heading, or the caption beside the picture
    Picture picture;   // unused for a heading
    int captionHeight = 20;
};

// clang-format off
const HelpRow kHelpRows[] = {
    {Row::Heading,  "Allgemeine Funktionen",              Picture::Help},
    {Row::Bordered, "Hilfe-Fenster anzeigen",             Picture::Help},
    {Row::Bordered, "Speichern der Berechnungen starten", Picture::List},
    {Row::Bordered, "Speichern der Berechnungen beenden", Picture::ListActive},
    {Row::Heading,  "Funktionen (alle Zahlen-Felder)",    Picture::Help},
    {Row::Key,      "Zahl kopieren",                      Picture::CtrlC},
    {Row::Key,      "Zahl einfügen",                      Picture::CtrlV},
    {Row::Key,      "Zahl löschen",                       Picture::Escape},
    {Row::Heading,  "Funktionen (nur Maß-Felder)",        Picture::Help},
    {Row::Bordered, "Zahl kopieren",                      Picture::Copy},
    {Row::Bordered, "Zahl einfügen",                      Picture::Paste},
    {Row::Bordered, "Zahl löschen",                       Picture::Delete},
    {Row::Bordered, "Modell-Maß berechnen",               Picture::ArrowRight},
    {Row::Bordered, "Original-Maß berechnen",             Picture::ArrowLeft},
    {Row::Key,      "Das jeweils andere Maß berechnen",   Picture::Return, 40},
};
// clang-format on

constexpr int kRowStep = 25;
constexpr int kHeadingGap = 40;
constexpr int kFirstRowY = 10;
constexpr int kViewX = 20;
constexpr int kBorderedCaptionX = 52;
constexpr int kKeyCaptionX = 100;
constexpr int kFrameWidth = 2;

QLabel* AddText(QWidget* window, const QString& text, QRect box) {
    auto* label = new QLabel(text, window);
    label->setAccessibleName(text);
    label->setGeometry(box);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->show();
    return label;
}

// A view shows its picture at its own size; it keeps the laid-out size only while it has none.
QLabel* AddView(QWidget* window, const QPixmap& picture, QRect laidOut, bool bordered,
                const QString& name) {
    auto* view = new QLabel(window);
    view->setAccessibleName(name);
    view->setGeometry(laidOut);
    view->setAlignment(Qt::AlignCenter);
    const int frame = bordered ? kFrameWidth : 0;
    if (bordered) {
        view->setFrameStyle(QFrame::Panel | QFrame::Raised);
        view->setLineWidth(kFrameWidth);
    }
    if (!picture.isNull()) {
        view->setPixmap(picture);
        view->resize(picture.width() + 2 * frame, picture.height() + 2 * frame);
    }
    view->show();
    return view;
}

}  // namespace

HelpWindow::HelpWindow(const Pictures& pictures)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      pictures_(pictures) {
    setWindowTitle(QString::fromLatin1(kHelpWindowTitle));
    setFixedSize(kInnerWidth, kInnerHeight);
    move(kScreenPosition);
}

void HelpWindow::BuildContents(int innerWidth) {
    int y = kFirstRowY;
    bool firstHeading = true;
    for (const HelpRow& row : kHelpRows) {
        const QString text = QString::fromUtf8(row.text);
        if (row.kind == Row::Heading) {
            y += firstHeading ? 0 : kHeadingGap - kRowStep;
            firstHeading = false;
            AddText(this, text, {10, y, innerWidth - 20, 20});
        } else {
            const bool bordered = row.kind == Row::Bordered;
            const int captionX = bordered ? kBorderedCaptionX : kKeyCaptionX;
            AddView(this, pictures_[row.picture], {kViewX, y, bordered ? 20 : 70, 20}, bordered,
                    text);
            AddText(this, text, {captionX, y + 3, innerWidth - (captionX + 20), row.captionHeight});
        }
        y += kRowStep;
    }
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    // The window is closed by ShowHelpWindow once its loop has ended, not by Qt.
    event->ignore();
    emit closeRequested();
}

void ShowHelpWindow(Calculator& calculator) {
    MainWindow& main = *calculator.window;
    // Disabling a window clears its focus; remember it to give it back afterwards.
    QPointer<QWidget> focused = main.focusWidget();
    main.setEnabled(false);
    {
        HelpWindow help(calculator.pictures);
        help.show();
        help.activateWindow();
        help.BuildContents(help.width());
        QEventLoop loop;
        QObject::connect(&help, &HelpWindow::closeRequested, &loop, &QEventLoop::quit);
        calculator.helpLoop = &loop;
        loop.exec();
        calculator.helpLoop = nullptr;
    }  // destroying the window drops its events that are still waiting
    main.setEnabled(true);
    main.activateWindow();
    main.raise();
    if (focused) {
        focused->setFocus(Qt::ActiveWindowFocusReason);
    }
}
