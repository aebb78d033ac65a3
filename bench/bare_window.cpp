// The plainest Qt Widgets window of the main window's size: the yardstick
// for the program's start-up time and memory.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Window"));
    window.setFixedSize(243, 513);
    window.show();
    return QApplication::exec();
}
