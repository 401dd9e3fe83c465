#pragma once

#include <QProxyStyle>

namespace platform {

// The platform's style, with three changes for both programs:
// - a tap on Alt moves the focus to the menu bar, as users of other desktops expect;
// - every check box, in a dialog or in a list, gets an edge halfway between the colours of the
//   text and of the base it stands on. With a dark palette some styles (Fusion) draw an
//   unchecked box darker than the window, black on a dark base: the user could not tell that
//   there is a box to check;
// - the arrows of a tool bar's or menu bar's extension button, and the cross of a search box's
//   clear button, are drawn here. Every menu bar asks for the arrows when it is made, and the
//   search box for its cross; the style's own come from image files whose format Qt finds by
//   loading every image plugin, a few milliseconds before the first paint.
class ProgramStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

} // namespace platform
