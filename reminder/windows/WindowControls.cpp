#include "reminder/windows/WindowControls.h"

#include "platform/gui/Geometry.h"
#include "reminder/windows/ObjectNames.h"
#include "reminder/windows/ReminderSession.h"

#include <QFontMetrics>
#include <QShortcut>
#include <algorithm>

namespace reminder {
namespace {

constexpr double kSmallestPointSize = 6.0;

bool fits(const QLabel* label, const QFont& font)
{
    const QRect room = label->contentsRect();
    const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QRect needed =
        QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 10000), flags, label->text());
    return needed.width() <= room.width() && needed.height() <= room.height();
}

} // namespace

void shrinkToFit(QLabel* label)
{
    label->setFont(
        platform::shrinkUntilFits(label->font(), kSmallestPointSize,
                                  [label](const QFont& font) { return fits(label, font); }));
}

void useOneSize(std::initializer_list<QLabel*> labels)
{
    double smallest = kControlPointSize;
    for (const QLabel* label : labels)
        smallest = std::min(smallest, label->font().pointSizeF());
    for (QLabel* label : labels) {
        QFont font = label->font();
        font.setPointSizeF(smallest);
        label->setFont(font);
    }
}

void closeOnEscape(QWidget* window)
{
    // A window shortcut: it works whichever control has the focus, and none of them takes Escape.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

ButtonRow makeButtonRow(QWidget* window, ReminderSession& session)
{
    const ButtonRow row{makeButton(window, objectName::openManagerButton,
                                   QStringLiteral("Abrir Base De Datos"), {120, 2880, 2775, 375}),
                        makeButton(window, objectName::quitButton, QStringLiteral("Salir"),
                                   {3360, 2880, 2775, 375})};
    QObject::connect(row.openManager, &QPushButton::clicked, window,
                     [&session] { session.openManager(); });
    QObject::connect(row.quit, &QPushButton::clicked, window, &QWidget::close);
    return row;
}

} // namespace reminder
