#include "platform/gui/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
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
    // The list a drop-down list opens bears its name too.
    if (auto* list = qobject_cast<QComboBox*>(control))
        list->view()->setAccessibleName(name);
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

// A drop-down list named by its caption (its accessible name, or else its label's text), its
// entry as its value. On Linux Qt names a drop-down list by its entry and leaves the caption to
// the label's relation: the accessibility tree then holds a list named "31" where the window says
// "Día". Its entry is its read-only text, where screen readers look for it, and the open list
// is its one child.
class NamedDropDownList : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit NamedDropDownList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return dropDown()->currentText();
        const QString text = QAccessibleWidget::text(kind);
        // A list without a caption is known by its entry, as Qt names it.
        return kind == QAccessible::Name && text.isEmpty() ? dropDown()->currentText() : text;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = dropDown()->view()->isVisible();
        return state;
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(dropDown()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == dropDown()->view() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            dropDown()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // The entry as text, which cannot be selected or edited.
    QString text(int startOffset, int endOffset) const override
    {
        return dropDown()->currentText().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override
    {
        return static_cast<int>(dropDown()->currentText().size());
    }
    void selection(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QComboBox* dropDown() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedDropDownFactory(const QString& className, QObject* object)
{
    // Asked once, as the list is made, before it has a name or a label: every list that takes
    // no typing gets it. One that does keeps Qt's own, with its input as a child.
    auto* list =
        className == QLatin1String("QComboBox") ? qobject_cast<QComboBox*>(object) : nullptr;
    if (!list || list->isEditable())
        return nullptr;
    return new NamedDropDownList(list);
}

} // namespace

void installWindowRoles()
{
    QAccessible::installFactory(windowRoleFactory);
    QAccessible::installFactory(namedDropDownFactory);
}

} // namespace platform
