// The yardstick for Quorvel's start-up: the smallest Qt Widgets program that
// shows a window of the same size with one label in the same CJK font.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Reference"));
    window.setFixedSize(525, 306);
    QLabel label(QStringLiteral("调节阀流通能力计算"), &window);
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setPointSizeF(10.5);
    label.setFont(font);
    label.move(144, 0);
    window.show();
    return QApplication::exec();
}
