// The smallest Qt Widgets program with a window: the yardstick for start-up time.
#include <QApplication>
#include <QPushButton>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QPushButton button(QStringLiteral("minimal"));
    button.setWindowTitle(QStringLiteral("minimal-widgets"));
    button.show();
    return QApplication::exec();
}
