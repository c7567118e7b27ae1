// The reference for start-up: what Qt itself costs for a window like the calculator's, with
// nothing of the program in it.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(205, 120);
    window.move(300, 300);
    window.setWindowTitle(QStringLiteral("bare Qt window"));
    auto* field = new QLineEdit(&window);
    field->setGeometry(10, 60, 75, 20);
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    button->setGeometry(90, 70, 25, 25);
    window.show();
    return application.exec();
}
