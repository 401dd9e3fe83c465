#pragma once

#include "platform/gui/Geometry.h"
#include "platform/gui/WholeGlyphRows.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <initializer_list>

// The reminder's windows are drawn in twips with fixed positions: each control is made with its
// name as object name and its place in the window, nothing more.
namespace reminder {

// The platform's UI family stands in for MS Sans Serif at the designed sizes.
inline constexpr double kControlPointSize = 8.25;

struct Twips {
    double left, top, width, height;
};

template <typename Control> Control* placed(Control* control, const char* name, Twips at)
{
    control->setObjectName(name);
    control->setGeometry(platform::twipsRect(at.left, at.top, at.width, at.height));
    return control;
}

// The platform's font may be wider than the one the windows were drawn for: a caption that would
// not fit its label is shown a little smaller rather than clipped.
void shrinkToFit(QLabel* label);

// Labels that belong together (a row of headings) all take the smallest of their sizes.
void useOneSize(std::initializer_list<QLabel*> labels);

// Escape anywhere in the window closes it, as its "Salir" does.
void closeOnEscape(QWidget* window);

enum class Lines { One, Wrapped };

inline QLabel* makeLabel(QWidget* window, const char* name, const QString& caption, Twips at,
                         Lines lines = Lines::One)
{
    auto* label = placed(new QLabel(caption, window), name, at);
    label->setFont(platform::boldUiFont(kControlPointSize));
    if (lines == Lines::Wrapped) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    shrinkToFit(label);
    return label;
}

inline QListWidget* makeList(QWidget* window, const char* name, Twips at)
{
    auto* list = placed(new QListWidget(window), name, at);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    platform::giveRowsRoomForAccents(list);
    return list;
}

inline QPushButton* makeButton(QWidget* window, const char* name, const QString& caption, Twips at)
{
    auto* button = placed(new QPushButton(caption, window), name, at);
    button->setAutoDefault(false);
    return button;
}

class ReminderSession;

struct ButtonRow {
    QPushButton* openManager;
    QPushButton* quit;
};

// The buttons under the lists of the upcoming and the missed birthdays: "Abrir Base De Datos"
// starts the manager, "Salir" closes the window.
ButtonRow makeButtonRow(QWidget* window, ReminderSession& session);

// The window's own font and fixed client size.
inline void setUpWindow(QWidget* window, const char* name, const QString& caption, double width,
                        double height)
{
    window->setObjectName(name);
    window->setWindowTitle(caption);
    QFont font = window->font();
    font.setPointSizeF(kControlPointSize);
    window->setFont(font);
    window->setFixedSize(platform::twipsSize(width, height));
}

} // namespace reminder
