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
    QString name = withoutMnemonic(label->text());
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    control->setAccessibleName(name);
}

QString withoutMnemonic(const QString& caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
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
