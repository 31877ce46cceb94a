#include "app/widgets/SelectorWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    SelectorWindow window;
    window.show();
    return QApplication::exec();
}
