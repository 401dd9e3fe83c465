#include "manager/AboutPicture.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>
#include <cstdint>

namespace manager {

namespace {

// The window shows a little less than the picture (its client area is 361 x 245), so everything
// that matters stays inside this.
constexpr QRectF kVisibleArea{0, 0, 361, 245};

const QColor kRaspberry{0xB0, 0x23, 0x5F};
const QColor kCream{0xFF, 0xF6, 0xEC};
const QColor kIcing{0xFF, 0xFB, 0xF5};

// A small fixed-seed generator: the confetti must land in the same places every time.
class Scatter {
public:
    double next(double low, double high)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(m_state >> 11) / static_cast<double>(1ULL << 53);
        return low + unit * (high - low);
    }

private:
    std::uint64_t m_state = 20260308;
};

void drawBackground(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, kAboutPictureSize.height());
    sky.setColorAt(0.0, QColor(0xFF, 0xF3, 0xE2));
    sky.setColorAt(0.55, QColor(0xFD, 0xDD, 0xE2));
    sky.setColorAt(1.0, QColor(0xF4, 0xB6, 0xC8));
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(kAboutPictureSize)), sky);

    // A warm glow behind the cake draws the eye to it.
    QRadialGradient glow(QPointF(181, 175), 120);
    glow.setColorAt(0.0, QColor(255, 255, 230, 200));
    glow.setColorAt(1.0, QColor(255, 255, 230, 0));
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(kAboutPictureSize)), glow);
}

void drawConfetti(QPainter& p)
{
    const std::array<QColor, 6> colours = {QColor(0xF2, 0x5C, 0x8A), QColor(0xFF, 0xB3, 0x47),
                                           QColor(0x4F, 0xB8, 0xC9), QColor(0x8E, 0x6C, 0xD8),
                                           QColor(0x6C, 0xC0, 0x6A), QColor(0xFF, 0xD8, 0x4D)};
    const QRectF keepClear(70, 20, 221, 230); // the title and the cake
    Scatter scatter;
    p.setPen(Qt::NoPen);
    int placed = 0;
    for (int attempt = 0; attempt < 400 && placed < 46; ++attempt) {
        const QPointF at(scatter.next(4, kVisibleArea.width() - 4),
                         scatter.next(4, kVisibleArea.height() - 4));
        const double angle = scatter.next(0, 180);
        const int shape = static_cast<int>(scatter.next(0, 3));
        const QColor colour = colours[static_cast<size_t>(scatter.next(0, 6)) % colours.size()];
        if (keepClear.contains(at))
            continue;
        ++placed;
        p.save();
        p.translate(at);
        p.rotate(angle);
        p.setBrush(colour);
        if (shape == 0)
            p.drawRect(QRectF(-3.5, -1.5, 7, 3));
        else if (shape == 1)
            p.drawEllipse(QPointF(0, 0), 2.2, 2.2);
        else
            p.drawRoundedRect(QRectF(-1.2, -4, 2.4, 8), 1, 1);
        p.restore();
    }
}

void drawBalloon(QPainter& p, QPointF centre, QColor colour, double sway)
{
    const double rx = 21;
    const double ry = 26;
    const QPointF knot(centre.x(), centre.y() + ry);

    QPainterPath string(knot + QPointF(0, 5));
    string.cubicTo(knot + QPointF(sway, 30), knot + QPointF(-sway, 55),
                   knot + QPointF(sway / 2, 85));
    p.setPen(QPen(QColor(0x9A, 0x7A, 0x80), 1.1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(string);

    QRadialGradient body(centre + QPointF(-7, -9), rx * 1.6);
    body.setColorAt(0.0, colour.lighter(150));
    body.setColorAt(0.45, colour);
    body.setColorAt(1.0, colour.darker(135));
    p.setPen(QPen(colour.darker(150), 0.8));
    p.setBrush(body);
    p.drawEllipse(centre, rx, ry);

    QPainterPath tie;
    tie.moveTo(knot + QPointF(-4, 5));
    tie.lineTo(knot + QPointF(4, 5));
    tie.lineTo(knot + QPointF(0, -1));
    tie.closeSubpath();
    p.setBrush(colour.darker(125));
    p.drawPath(tie);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(centre + QPointF(-8, -11), 4.5, 7.5);
}

void drawBunting(QPainter& p)
{
    const std::array<QColor, 4> flags = {QColor(0xF2, 0x5C, 0x8A), QColor(0xFF, 0xC1, 0x4D),
                                         QColor(0x4F, 0xB8, 0xC9), QColor(0x8E, 0x6C, 0xD8)};
    const double left = -10;
    const double right = kVisibleArea.width() + 10;
    const auto sag = [&](double x) {
        const double t = (x - left) / (right - left);
        return 4 + 14 * 4 * t * (1 - t);
    };
    QPainterPath cord(QPointF(left, sag(left)));
    for (double x = left; x <= right; x += 4)
        cord.lineTo(x, sag(x));
    p.setPen(QPen(QColor(0x8A, 0x5A, 0x6A), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cord);

    p.setPen(Qt::NoPen);
    int index = 0;
    for (double x = 6; x < kVisibleArea.width(); x += 25, ++index) {
        const double y0 = sag(x);
        const double y1 = sag(x + 16);
        QPainterPath flag;
        flag.moveTo(x, y0);
        flag.lineTo(x + 16, y1);
        flag.lineTo(x + 8, (y0 + y1) / 2 + 15);
        flag.closeSubpath();
        p.setBrush(flags[static_cast<size_t>(index) % flags.size()]);
        p.drawPath(flag);
    }
}

// A band of icing with rounded drips running down over the top of a cake tier.
QPainterPath icingDrips(const QRectF& tier, double depth, int drips)
{
    QPainterPath path(tier.topLeft());
    path.lineTo(tier.topRight());
    path.lineTo(tier.right(), tier.top() + depth * 0.45);
    const double step = tier.width() / drips;
    for (int i = drips - 1; i >= 0; --i) {
        const double x0 = tier.left() + step * (i + 1);
        const double x1 = tier.left() + step * i;
        const double longDrip = (i % 2 == 0) ? depth : depth * 0.7;
        path.cubicTo(x0, tier.top() + longDrip * 1.25, x1, tier.top() + longDrip * 1.25, x1,
                     tier.top() + depth * 0.45);
    }
    path.closeSubpath();
    return path;
}

void drawTier(QPainter& p, const QRectF& tier, QColor sponge, QColor trim)
{
    QLinearGradient shade(tier.topLeft(), tier.topRight());
    shade.setColorAt(0.0, sponge.darker(112));
    shade.setColorAt(0.35, sponge.lighter(108));
    shade.setColorAt(1.0, sponge.darker(120));
    p.setPen(QPen(sponge.darker(140), 1));
    p.setBrush(shade);
    p.drawRoundedRect(tier, 5, 5);

    // A ribbon of piped dots along the bottom edge.
    p.setPen(Qt::NoPen);
    p.setBrush(trim);
    for (double x = tier.left() + 6; x < tier.right() - 3; x += 9)
        p.drawEllipse(QPointF(x, tier.bottom() - 5), 2.6, 2.6);

    QLinearGradient icing(tier.topLeft(), tier.topLeft() + QPointF(0, 14));
    icing.setColorAt(0.0, Qt::white);
    icing.setColorAt(1.0, kIcing.darker(104));
    p.setPen(QPen(QColor(0xE8, 0xD8, 0xD0), 0.8));
    p.setBrush(icing);
    p.drawPath(icingDrips(tier.adjusted(-2, -1, 2, 0), 12, 7));
}

void drawCandle(QPainter& p, QPointF base, QColor colour)
{
    const QRectF stick(base.x() - 3, base.y() - 21, 6, 21);
    p.setPen(QPen(colour.darker(140), 0.8));
    p.setBrush(colour);
    p.drawRoundedRect(stick, 1.5, 1.5);
    p.save();
    p.setClipRect(stick);
    p.setPen(QPen(QColor(255, 255, 255, 190), 2));
    for (double y = stick.top() - 4; y < stick.bottom(); y += 7)
        p.drawLine(QPointF(stick.left(), y + 6), QPointF(stick.right(), y));
    p.restore();

    const QPointF wick(base.x(), stick.top() - 2);
    p.setPen(QPen(QColor(0x40, 0x30, 0x30), 1.2));
    p.drawLine(QPointF(base.x(), stick.top()), wick);

    QRadialGradient halo(wick + QPointF(0, -7), 16);
    halo.setColorAt(0.0, QColor(255, 220, 120, 150));
    halo.setColorAt(1.0, QColor(255, 220, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(wick + QPointF(0, -7), 16, 16);

    QPainterPath flame(wick);
    flame.cubicTo(wick + QPointF(-7, -3), wick + QPointF(-3, -12), wick + QPointF(0, -17));
    flame.cubicTo(wick + QPointF(3, -12), wick + QPointF(7, -3), wick);
    QLinearGradient fire(wick + QPointF(0, -17), wick);
    fire.setColorAt(0.0, QColor(0xFF, 0xE8, 0x7A));
    fire.setColorAt(0.6, QColor(0xFF, 0xA6, 0x2B));
    fire.setColorAt(1.0, QColor(0xE8, 0x4A, 0x1C));
    p.setBrush(fire);
    p.drawPath(flame);
}

void drawCake(QPainter& p)
{
    // The plate and its shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 40, 70, 45));
    p.drawEllipse(QPointF(181, 232), 88, 9);
    QLinearGradient plate(0, 222, 0, 234);
    plate.setColorAt(0.0, QColor(0xFF, 0xFF, 0xFF));
    plate.setColorAt(1.0, QColor(0xD9, 0xD4, 0xD8));
    p.setPen(QPen(QColor(0xB8, 0xB0, 0xB6), 1));
    p.setBrush(plate);
    p.drawEllipse(QPointF(181, 226), 82, 8);

    drawTier(p, QRectF(119, 181, 124, 45), QColor(0xF5, 0x8F, 0xB1), QColor(0xFF, 0xF0, 0xF5));
    drawTier(p, QRectF(140, 146, 82, 36), QColor(0xC9, 0x7B, 0x52), QColor(0xFF, 0xE6, 0xB8));

    // Berries on top, between the candles.
    p.setPen(QPen(QColor(0x8A, 0x10, 0x2C), 0.8));
    p.setBrush(QColor(0xD8, 0x20, 0x48));
    for (double x : {151.0, 211.0})
        p.drawEllipse(QPointF(x, 146), 4, 4);

    drawCandle(p, QPointF(163, 147), QColor(0x4F, 0xB8, 0xC9));
    drawCandle(p, QPointF(181, 145), QColor(0xFF, 0xC1, 0x4D));
    drawCandle(p, QPointF(199, 147), QColor(0x8E, 0x6C, 0xD8));
}

void drawTitle(QPainter& p)
{
    QFont title;
    title.setFamilies({QStringLiteral("URW Bookman"), QStringLiteral("P052"),
                       QStringLiteral("Georgia"), QStringLiteral("DejaVu Serif"),
                       QStringLiteral("Serif")});
    title.setStyleHint(QFont::Serif);
    title.setPixelSize(38);
    title.setBold(true);
    title.setItalic(true);
    const QString name = QStringLiteral("Tortavela");
    QFontMetricsF metrics(title);
    // The name must fit between the balloons whatever serif face the system offers.
    const double room = 230;
    if (metrics.horizontalAdvance(name) > room) {
        title.setPixelSize(static_cast<int>(38 * room / metrics.horizontalAdvance(name)));
        metrics = QFontMetricsF(title);
    }
    const double baseline = 74;
    const double x = (kVisibleArea.width() - metrics.horizontalAdvance(name)) / 2;
    QPainterPath text;
    text.addText(QPointF(x, baseline), title, name);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 20, 60, 60));
    p.drawPath(text.translated(2, 2.5));
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    QLinearGradient ink(0, baseline - metrics.ascent(), 0, baseline);
    ink.setColorAt(0.0, kRaspberry.lighter(130));
    ink.setColorAt(1.0, kRaspberry.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(text);

    QFont subtitle;
    subtitle.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    subtitle.setStyleHint(QFont::SansSerif);
    subtitle.setPixelSize(12);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(subtitle);
    p.setPen(QColor(0x7A, 0x3B, 0x55));
    p.drawText(QRectF(0, baseline + 8, kVisibleArea.width(), 18), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Tu libreta de cumpleaños"));
}

} // namespace

QImage drawAboutPicture()
{
    QImage picture(kAboutPictureSize, QImage::Format_RGB888);
    picture.fill(kCream);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawBackground(p);
    drawConfetti(p);
    drawBunting(p);
    drawBalloon(p, QPointF(40, 112), QColor(0xF2, 0x5C, 0x8A), 8);
    drawBalloon(p, QPointF(72, 146), QColor(0xFF, 0xB3, 0x47), -6);
    drawBalloon(p, QPointF(322, 110), QColor(0x4F, 0xB8, 0xC9), -8);
    drawBalloon(p, QPointF(290, 150), QColor(0x8E, 0x6C, 0xD8), 6);
    drawCake(p);
    drawTitle(p);
    p.end();
    return picture;
}

} // namespace manager
