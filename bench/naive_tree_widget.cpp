// The other yardstick of the manager's start-up: the contact list as a first Qt program would
// show it, a QTreeWidget filled from "data.tvl" beside the program and sorted by the widget,
// to its first paint.
#include "bench/FirstPaintReporter.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTreeWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    auto* list = new QTreeWidget;
    list->setHeaderLabels(
        {"Nombre", "Alias", "Edad Actual", "Fecha Del Cumple", "Teléfono", "Dirección", "E-Mail"});
    list->setRootIsDecorated(false);
    QFile file(QCoreApplication::applicationDirPath() + "/data.tvl");
    if (file.open(QIODevice::ReadOnly)) {
        const QString content = QString::fromLatin1(file.readAll());
        QList<QTreeWidgetItem*> items;
        for (const QString& line : content.split("\r\n", Qt::SkipEmptyParts))
            items << new QTreeWidgetItem(line.split(QChar(0xA7)).mid(0, 7));
        list->addTopLevelItems(items);
    }
    list->sortByColumn(0, Qt::AscendingOrder);
    window.setCentralWidget(list);
    window.resize(722, 407);
    new FirstPaintReporter(list->viewport());
    window.show();
    return app.exec();
}
