#pragma once

#include <QLayout>
#include <QRect>
#include <QSize>
#include <vector>

namespace platform {

// Places a window's controls where they were designed and lets chosen edges of a control follow
// the window when it grows: at the designed size every control stands exactly at its designed
// place, and the window never becomes smaller than that. A control anchored left and right
// grows with the width; anchored right only, it moves with the right edge; likewise top and
// bottom for the height.
class AnchoredLayout : public QLayout {
public:
    enum Anchor {
        Left = 1,
        Top = 2,
        Right = 4,
        Bottom = 8,
        TopLeft = Left | Top,
        AllSides = Left | Top | Right | Bottom,
    };

    AnchoredLayout(QWidget* parent, QSize designSize);
    ~AnchoredLayout() override;

    void addWidget(QWidget* widget, QRect designed, int anchors);

    QSize sizeHint() const override { return m_designSize; }
    QSize minimumSize() const override { return m_designSize; }
    void setGeometry(const QRect& rect) override;
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return static_cast<int>(m_items.size()); }

private:
    struct Placed {
        QLayoutItem* item;
        QRect designed;
        int anchors;
    };

    QSize m_designSize;
    std::vector<Placed> m_items;
};

} // namespace platform
