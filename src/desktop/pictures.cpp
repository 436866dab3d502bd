#include "desktop/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace kvl {

namespace {

const QColor Ink(0x2b, 0x4c, 0x7e);
const QColor Accent(0x3a, 0x8d, 0xde);

// A plug seen from the side: body with two pins pointing right (mirrored when facing left).
void drawPlug(QPainter &p, QPointF centre, qreal s, bool facingRight, const QColor &colour)
{
    p.save();
    p.translate(centre);
    if (!facingRight)
        p.scale(-1, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(-0.22 * s, -0.14 * s, 0.26 * s, 0.28 * s), 0.04 * s, 0.04 * s);
    p.drawRect(QRectF(0.04 * s, -0.10 * s, 0.10 * s, 0.03 * s));
    p.drawRect(QRectF(0.04 * s, 0.07 * s, 0.10 * s, 0.03 * s));
    p.setPen(QPen(colour, 0.06 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-0.22 * s, 0), QPointF(-0.34 * s, 0));
    p.restore();
}

void drawConnection(QPainter &p, qreal s, bool joined)
{
    const QColor back = joined ? QColor(0x2e, 0xa0, 0x4d) : QColor(0xb8, 0xbe, 0xc6);
    p.setPen(QPen(back.darker(130), 0.03 * s));
    p.setBrush(back.lighter(160));
    p.drawEllipse(QRectF(0.04 * s, 0.04 * s, 0.92 * s, 0.92 * s));
    const QColor plug = joined ? QColor(0x1d, 0x6b, 0x33) : QColor(0x6a, 0x70, 0x78);
    const qreal gap = joined ? 0.0 : 0.10 * s;
    drawPlug(p, QPointF(0.42 * s - gap, 0.5 * s), s, true, plug);
    drawPlug(p, QPointF(0.58 * s + gap, 0.5 * s), s, false, plug);
    if (!joined) {
        p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 0.05 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0.47 * s, 0.30 * s), QPointF(0.53 * s, 0.70 * s));
    }
}

void drawStopSign(QPainter &p, qreal s)
{
    QPolygonF octagon;
    const QPointF c(0.5 * s, 0.5 * s);
    const qreal r = 0.47 * s;
    for (int k = 0; k < 8; ++k) {
        const qreal a = qDegreesToRadians(22.5 + 45.0 * k);
        octagon << c + QPointF(r * qCos(a), r * qSin(a));
    }
    p.setPen(QPen(Qt::white, 0.05 * s));
    p.setBrush(QColor(0xd3, 0x1f, 0x1f));
    p.drawPolygon(octagon);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.22 * s, 0.42 * s, 0.56 * s, 0.16 * s), 0.03 * s, 0.03 * s);
}

void drawGear(QPainter &p, qreal s)
{
    const QPointF c(0.5 * s, 0.5 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(c);
        p.rotate(45.0 * k);
        p.drawRect(QRectF(-0.07 * s, -0.44 * s, 0.14 * s, 0.16 * s));
        p.restore();
    }
    p.drawEllipse(c, 0.31 * s, 0.31 * s);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 0.12 * s, 0.12 * s);
}

void drawDownload(QPainter &p, qreal s)
{
    p.setPen(QPen(Ink, 0.08 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(0.15 * s, 0.62 * s), QPointF(0.15 * s, 0.85 * s),
                              QPointF(0.85 * s, 0.85 * s), QPointF(0.85 * s, 0.62 * s)}));
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawRect(QRectF(0.42 * s, 0.10 * s, 0.16 * s, 0.36 * s));
    p.drawPolygon(QPolygonF({QPointF(0.25 * s, 0.44 * s), QPointF(0.75 * s, 0.44 * s),
                             QPointF(0.5 * s, 0.72 * s)}));
}

void drawDocument(QPainter &p, qreal s, bool withCode)
{
    p.setPen(QPen(Ink, 0.05 * s));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(0.20 * s, 0.08 * s);
    page.lineTo(0.64 * s, 0.08 * s);
    page.lineTo(0.80 * s, 0.24 * s);
    page.lineTo(0.80 * s, 0.92 * s);
    page.lineTo(0.20 * s, 0.92 * s);
    page.closeSubpath();
    p.drawPath(page);
    p.setPen(QPen(withCode ? Accent : Ink, 0.05 * s, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 4; ++k) {
        const qreal y = (0.36 + 0.14 * k) * s;
        const qreal indent = withCode && (k == 1 || k == 2) ? 0.08 * s : 0.0;
        p.drawLine(QPointF(0.30 * s + indent, y), QPointF((k == 3 ? 0.55 : 0.70) * s, y));
    }
}

void drawChart(QPainter &p, qreal s)
{
    p.setPen(QPen(Ink, 0.06 * s, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(0.12 * s, 0.10 * s), QPointF(0.12 * s, 0.88 * s));
    p.drawLine(QPointF(0.12 * s, 0.88 * s), QPointF(0.92 * s, 0.88 * s));
    p.setPen(QPen(QColor(0xd3, 0x5f, 0x1f), 0.07 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(0.18 * s, 0.70 * s), QPointF(0.38 * s, 0.45 * s),
                              QPointF(0.55 * s, 0.58 * s), QPointF(0.86 * s, 0.20 * s)}));
}

void drawTag(QPainter &p, qreal s)
{
    p.setPen(QPen(Ink, 0.05 * s, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawPolygon(QPolygonF({QPointF(0.10 * s, 0.20 * s), QPointF(0.55 * s, 0.20 * s),
                             QPointF(0.90 * s, 0.55 * s), QPointF(0.55 * s, 0.90 * s),
                             QPointF(0.10 * s, 0.55 * s)}));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0.30 * s, 0.38 * s), 0.07 * s, 0.07 * s);
}

void drawClose(QPainter &p, qreal s)
{
    p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 0.12 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0.22 * s, 0.22 * s), QPointF(0.78 * s, 0.78 * s));
    p.drawLine(QPointF(0.78 * s, 0.22 * s), QPointF(0.22 * s, 0.78 * s));
}

} // namespace

QPixmap drawPicture(Picture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    switch (picture) {
    case Picture::Connected: drawConnection(p, s, true); break;
    case Picture::Disconnected: drawConnection(p, s, false); break;
    case Picture::Connect:
        drawPlug(p, QPointF(0.40 * s, 0.5 * s), s, true, Ink);
        drawPlug(p, QPointF(0.66 * s, 0.5 * s), s, false, Accent);
        break;
    case Picture::Setup: drawGear(p, s); break;
    case Picture::Download: drawDownload(p, s); break;
    case Picture::Program: drawDocument(p, s, true); break;
    case Picture::LogMessages: drawDocument(p, s, false); break;
    case Picture::Chart: drawChart(p, s); break;
    case Picture::VersionMaker: drawTag(p, s); break;
    case Picture::Close: drawClose(p, s); break;
    case Picture::Stop: drawStopSign(p, s); break;
    }
    return pixmap;
}

QIcon pictureIcon(Picture picture, int size) { return QIcon(drawPicture(picture, size)); }

} // namespace kvl
