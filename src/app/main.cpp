#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QLabel placeholder(QStringLiteral("Kelvane"));
    placeholder.show();
    return QApplication::exec();
}
