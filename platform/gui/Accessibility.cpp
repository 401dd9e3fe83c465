#include "platform/gui/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>

namespace platform {

void nameAfterLabel(QLabel* label, QWidget* control)
{
    label->setBuddy(control);
    // The caption as read: a mnemonic's marker is no part of it ("&&" is one "&").
    QString name = label->text();
    name.replace(QLatin1StringView("&&"), QLatin1StringView("\x01"));
    name.remove(QLatin1Char('&'));
    name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    control->setAccessibleName(name);
}

namespace {

QAccessibleInterface* windowRoleFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType() || className.startsWith(QLatin1Char('Q')))
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow() || qobject_cast<QDialog*>(widget) ||
        qobject_cast<QMainWindow*>(widget) || qobject_cast<QMenu*>(widget))
        return nullptr;
    const bool dialog = widget->windowType() == Qt::Dialog;
    return new QAccessibleWidget(widget, dialog ? QAccessible::Dialog : QAccessible::Window);
}

} // namespace

void installWindowRoles()
{
    QAccessible::installFactory(windowRoleFactory);
}

} // namespace platform
