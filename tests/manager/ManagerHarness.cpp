#include "tests/manager/ManagerHarness.h"

#include "manager/ContactListModel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QtTest>

using namespace manager;

ManagerHarness::ManagerHarness(const std::string& content,
                               std::function<std::chrono::year_month_day()> today,
                               std::filesystem::path windowMemory)
{
    writeBytes(file(), content);
    platform::setMessageAnswerHook([this](const platform::MessageRequest& request) {
        messages << request;
        return answer;
    });
    m_window = std::make_unique<MainWindow>(
        MainWindow::Environment{.programDir = m_dir.path(),
                                .autostartDir = m_dir.path() / "autostart",
                                .today = std::move(today),
                                .windowMemoryFile = std::move(windowMemory)});
    m_window->startUp();
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the main window was not exposed");
}

ManagerHarness::~ManagerHarness()
{
    m_window.reset();
    platform::setMessageAnswerHook({});
}

std::string ManagerHarness::bytes() const
{
    return readBytes(file());
}

bool ManagerHarness::exists(const char* name) const
{
    return std::filesystem::exists(m_dir.path() / name);
}

QAction* ManagerHarness::action(const char* name) const
{
    return m_window->findChild<QAction*>(name);
}

QStringList ManagerHarness::names() const
{
    QStringList names;
    for (int i = 0; i < m_window->contactList()->rowCount(); ++i)
        names << m_window->contactList()->cell(i, 0);
    return names;
}

QStringList ManagerHarness::shownNames() const
{
    QStringList names;
    const QAbstractItemModel* shown = m_window->listView()->model();
    for (int i = 0; i < shown->rowCount(); ++i)
        names << shown->index(i, 0).data().toString();
    return names;
}

QStringList ManagerHarness::row(int position) const
{
    QStringList cells;
    for (int column = 0; column < ContactListModel::kColumnCount; ++column)
        cells << m_window->contactList()->cell(position, column);
    return cells;
}

QString ManagerHarness::countCaption() const
{
    return m_window->findChild<QLabel*>("lblcantcum")->text();
}

bool ManagerHarness::commandsEnabled() const
{
    const bool del = action("mnudel")->isEnabled();
    const bool modi = action("mnumodi")->isEnabled();
    if (del != modi)
        QTest::qFail("Quitar and Modificar... differ", __FILE__, __LINE__);
    return del && modi;
}

int ManagerHarness::positionOf(const QString& name) const
{
    return static_cast<int>(names().indexOf(name));
}

void ManagerHarness::clickRow(int position)
{
    QTreeView* list = m_window->listView();
    const QModelIndex index = m_window->listIndex(position);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

ContactDialog* ManagerHarness::openDialog(const char* command)
{
    action(command)->trigger();
    return m_window->findChild<ContactDialog*>();
}

void ManagerHarness::followFile()
{
    m_window->followContactFile();
}

void typeInto(QWidget* input, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(input, &press);
        QApplication::sendEvent(input, &release);
    }
}

void fillForm(ContactDialog* form, const QStringList& fieldsWithoutBirthday, int day, int month)
{
    const int indexes[] = {0, 1, 2, 4, 5, 6, 7};
    for (int i = 0; i < fieldsWithoutBirthday.size(); ++i)
        typeInto(input(form, indexes[i]), fieldsWithoutBirthday[i]);
    form->dayList()->setCurrentIndex(day);
    form->monthList()->setCurrentIndex(month);
}

void clickAceptar(ContactDialog* form)
{
    QTest::mouseClick(form->acceptButton(), Qt::LeftButton);
}

QWidget* input(ContactDialog* form, int field)
{
    return form->fieldInput(static_cast<contacts::ContactField>(field));
}

QString text(ContactDialog* form, int field)
{
    return form->fieldText(static_cast<contacts::ContactField>(field));
}

void setText(ContactDialog* form, int field, const QString& text)
{
    form->setFieldText(static_cast<contacts::ContactField>(field), text);
}
