#include "platform/gui/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace platform {
namespace {

// The drawing is made on a 256 x 256 canvas and scaled.
constexpr double kCanvas = 256;

void paintBackground(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, kCanvas);
    sky.setColorAt(0, QColor(0xFF, 0xE2, 0xEC));
    sky.setColorAt(1, QColor(0xFF, 0xB8, 0xCF));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);
}

void paintPlate(QPainter& p)
{
    p.setBrush(QColor(0xF4, 0xF4, 0xF8));
    p.setPen(QPen(QColor(0xB9, 0xBE, 0xCC), 4));
    p.drawEllipse(QRectF(30, 200, 196, 30));
}

void paintTier(QPainter& p, QRectF body, QColor sponge, QColor icing)
{
    QLinearGradient shade(body.left(), 0, body.right(), 0);
    shade.setColorAt(0, sponge.darker(112));
    shade.setColorAt(0.5, sponge.lighter(108));
    shade.setColorAt(1, sponge.darker(118));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRoundedRect(body, 10, 10);

    // Icing across the top with drips running down the side.
    QPainterPath drips;
    const double top = body.top();
    drips.moveTo(body.left(), top + 10);
    drips.lineTo(body.left(), top + 26);
    const int dripCount = 5;
    const double step = body.width() / dripCount;
    for (int i = 0; i < dripCount; ++i) {
        const double x = body.left() + i * step;
        const double depth = (i % 2 == 0) ? 22 : 12;
        drips.cubicTo(x + step * 0.2, top + 26, x + step * 0.25, top + 26 + depth, x + step * 0.5,
                      top + 26 + depth);
        drips.cubicTo(x + step * 0.75, top + 26 + depth, x + step * 0.8, top + 26, x + step,
                      top + 26);
    }
    drips.lineTo(body.right(), top + 10);
    drips.quadTo(body.right(), top, body.right() - 10, top);
    drips.lineTo(body.left() + 10, top);
    drips.quadTo(body.left(), top, body.left(), top + 10);
    p.setBrush(icing);
    p.drawPath(drips);
}

void paintSprinkles(QPainter& p, QRectF area)
{
    const QColor colours[] = {QColor(0xFF, 0xC1, 0x07), QColor(0x4F, 0xC3, 0xF7),
                              QColor(0x81, 0xC7, 0x84), QColor(0xBA, 0x68, 0xC8)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 8; ++i) {
        const double x = area.left() + 10 + (i * 37) % static_cast<int>(area.width() - 20);
        const double y = area.top() + 8 + (i * 13) % static_cast<int>(area.height() - 12);
        p.setBrush(colours[i % 4]);
        p.save();
        p.translate(x, y);
        p.rotate(i * 47);
        p.drawRoundedRect(QRectF(-6, -2, 12, 4), 2, 2);
        p.restore();
    }
}

void paintCandle(QPainter& p)
{
    // Candle with spiral stripes.
    const QRectF candle(120, 58, 16, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x42, 0xA5, 0xF5));
    p.drawRoundedRect(candle, 4, 4);
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 200));
    for (int i = 0; i < 3; ++i) {
        QPainterPath stripe;
        const double y = candle.top() + 6 + i * 15;
        stripe.moveTo(candle.left(), y + 6);
        stripe.lineTo(candle.right(), y);
        stripe.lineTo(candle.right(), y + 5);
        stripe.lineTo(candle.left(), y + 11);
        stripe.closeSubpath();
        p.drawPath(stripe);
    }
    p.setPen(QPen(QColor(0x45, 0x45, 0x45), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(128, 58), QPointF(128, 50));

    // Glow and flame.
    QRadialGradient glow(QPointF(128, 36), 34);
    glow.setColorAt(0, QColor(0xFF, 0xF1, 0x76, 170));
    glow.setColorAt(1, QColor(0xFF, 0xF1, 0x76, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(128, 36), 34, 34);
    QPainterPath flame;
    flame.moveTo(128, 14);
    flame.cubicTo(140, 30, 138, 48, 128, 50);
    flame.cubicTo(118, 48, 116, 30, 128, 14);
    QLinearGradient fire(0, 14, 0, 50);
    fire.setColorAt(0, QColor(0xFF, 0x98, 0x00));
    fire.setColorAt(1, QColor(0xFF, 0xEB, 0x3B));
    p.setBrush(fire);
    p.drawPath(flame);
}

} // namespace

QImage paintAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kCanvas, size / kCanvas);
    paintBackground(p);
    paintPlate(p);
    paintTier(p, QRectF(40, 150, 176, 62), QColor(0xC6, 0x8B, 0x59), QColor(0xFF, 0xF8, 0xF0));
    paintTier(p, QRectF(66, 104, 124, 52), QColor(0xE9, 0x1E, 0x63).lighter(130),
              QColor(0xFF, 0xFF, 0xFF));
    paintSprinkles(p, QRectF(44, 178, 168, 30));
    paintCandle(p);
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(paintAppIcon(size)));
    return icon;
}

} // namespace platform
