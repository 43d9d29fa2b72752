#include "app/app_icon.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {
namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    // Rounded tile, deep indigo.
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(0x3A, 0x4C, 0xA8));
    tile.setColorAt(1, QColor(0x1F, 0x2A, 0x66));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The spindle: a wooden rod through the middle.
    p.setBrush(QColor(0xE8, 0xC8, 0x90));
    p.drawRoundedRect(QRectF(29, 8, 6, 48), 3, 3);

    // The wound thread: a lens of warm red with winding lines.
    QPainterPath bobbin;
    bobbin.moveTo(32, 14);
    bobbin.cubicTo(52, 22, 52, 42, 32, 50);
    bobbin.cubicTo(12, 42, 12, 22, 32, 14);
    p.setBrush(QColor(0xD9, 0x4A, 0x3D));
    p.drawPath(bobbin);
    p.setClipPath(bobbin);
    p.setPen(QPen(QColor(0xF6, 0xA3, 0x8E), 1.6));
    for (int y = 16; y < 50; y += 5) p.drawLine(QPointF(14, y + 4), QPointF(50, y - 4));
    p.setClipping(false);

    // A loose thread trailing to the corner.
    p.setPen(QPen(QColor(0xF6, 0xE7, 0xC8), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath thread;
    thread.moveTo(44, 30);
    thread.cubicTo(54, 34, 50, 48, 58, 56);
    p.drawPath(thread);
    return pixmap;
}

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawIcon(size));
    return icon;
}

bool WriteThemeIcons(const QString& dir) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(dir).arg(size);
        if (!QDir().mkpath(folder) || !DrawIcon(size).save(folder + QStringLiteral("/tsumugi.png"))) return false;
    }
    return true;
}

}  // namespace app
