#pragma once

#include <QProxyStyle>

namespace platform {

// The platform's style, with two changes for both programs:
// - a tap on Alt moves the focus to the menu bar, as users of other desktops expect;
// - the arrows of a tool bar's or menu bar's extension button are drawn here. Every menu bar
//   asks for that icon when it is made, and the style's own comes from an image file whose
//   format Qt finds by loading every image plugin, a few milliseconds before the first paint
//   for a button that the manager's two menus never show.
class ProgramStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;
};

} // namespace platform
