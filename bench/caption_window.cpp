// A bare Qt Widgets window of the main window's size that shows the copy
// button's Korean caption and nothing else: the fair floor for a window that
// must load a Hangul font.
#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("클립보드로 복사 (Ctl+C)"));
    window.setWindowTitle(QStringLiteral("Caption Window"));
    window.setFixedSize(243, 513);
    window.show();
    return QApplication::exec();
}
