#include "shell/logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tov {

namespace {

// The four greens of the handheld's screen, darkest first.
const QColor dark(15, 56, 15);
const QColor mid_dark(48, 98, 48);
const QColor mid_light(139, 172, 15);
const QColor light(155, 188, 15);

// The three letters, 50 x 60 each, with their top-left corners given.
QPainterPath letter_t(qreal x, qreal y) {
    QPainterPath path;
    path.addRect(x, y, 50, 14);
    path.addRect(x + 18, y, 14, 60);
    return path.simplified();
}

QPainterPath letter_o(qreal x, qreal y) {
    QPainterPath path;
    path.addRoundedRect(x, y, 50, 60, 18, 18);
    QPainterPath hole;
    hole.addRoundedRect(x + 14, y + 14, 22, 32, 8, 8);
    return path.subtracted(hole);
}

QPainterPath letter_v(qreal x, qreal y) {
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + 15, y);
    path.lineTo(x + 25, y + 40);
    path.lineTo(x + 35, y);
    path.lineTo(x + 50, y);
    path.lineTo(x + 32, y + 60);
    path.lineTo(x + 18, y + 60);
    path.closeSubpath();
    return path;
}

}  // namespace

QImage draw_logo() {
    QImage logo(logo_width, logo_height, QImage::Format_RGB32);
    logo.fill(Qt::black);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);

    // The screen-green panel with a darker rim.
    painter.setPen(QPen(mid_dark, 3));
    painter.setBrush(light);
    painter.drawRoundedRect(QRectF(4, 4, logo_width - 8, logo_height - 8), 10, 10);

    QPainterPath letters;
    letters.addPath(letter_t(27, 16));
    letters.addPath(letter_o(83, 16));
    letters.addPath(letter_v(139, 16));
    // A drop shadow, then the letters shaded from dark to darker.
    painter.setPen(Qt::NoPen);
    painter.setBrush(mid_light);
    painter.drawPath(letters.translated(3, 3));
    QLinearGradient shade(0, 16, 0, 76);
    shade.setColorAt(0, mid_dark);
    shade.setColorAt(1, dark);
    painter.setBrush(shade);
    painter.drawPath(letters);

    // Four dots under the letters, one per shade of the screen.
    const QColor dots[4] = {light, mid_light, mid_dark, dark};
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(dark, 1));
        painter.setBrush(dots[i]);
        painter.drawEllipse(QPointF(83 + 16 * i, 86), 4, 4);
    }
    return logo;
}

}  // namespace tov
