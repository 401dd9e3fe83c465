// Peak memory of the manager through a session on the contact file beside it: the start-up,
// then an addition, a modification and a removal through the real dialogs. Prints the peak
// resident size after each step, in KiB.
#include "manager/ContactDialog.h"
#include "manager/ContactListModel.h"
#include "manager/MainWindow.h"
#include "manager/StartupContacts.h"
#include "platform/ProgramDirectory.h"
#include "platform/gui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTreeView>
#include <cstdio>
#include <sys/resource.h>

using namespace manager;

namespace {

void reportPeak(const char* step)
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %ld\n", step, usage.ru_maxrss);
}

ContactDialog* openDialog(MainWindow& window, const char* command)
{
    window.findChild<QAction*>(command)->trigger();
    return window.findChild<ContactDialog*>();
}

void accept(ContactDialog* dialog)
{
    dialog->acceptButton()->click();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char* argv[])
{
    // As the program starts: the contacts are read on a thread of their own meanwhile.
    const auto dir = platform::programDirectory();
    auto startupContacts = startReadingContacts(dir);
    QApplication app(argc, argv);
    platform::setMessageAnswerHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
    MainWindow window({dir, dir / "autostart"});
    window.startUp(startupContacts.get());
    window.show();
    QApplication::processEvents();
    reportPeak("started");

    ContactDialog* dialog = openDialog(window, "mnuadd");
    dialog->setFieldText(contacts::ContactField::Name, QStringLiteral("Nuevo contacto"));
    dialog->dayList()->setCurrentIndex(1);
    dialog->monthList()->setCurrentIndex(1);
    accept(dialog);
    reportPeak("added");

    window.listView()->setCurrentIndex(window.listIndex(window.contactCount() / 2));
    dialog = openDialog(window, "mnumodi");
    dialog->setFieldText(contacts::ContactField::Age, QStringLiteral("77"));
    accept(dialog);
    reportPeak("modified");

    window.listView()->setCurrentIndex(window.listIndex(window.contactCount() / 3));
    window.findChild<QAction*>("mnudel")->trigger();
    QApplication::processEvents();
    reportPeak("removed");
    return 0;
}
