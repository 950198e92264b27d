#include "curveeditor/views/primitives.h"

#include <QImage>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <optional>

#include "curveeditor/views/viewstate.h"

namespace curveeditor::views {

QFont viewFont(int points, bool bold, bool italic)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, points * 4 / 3));
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString qtext(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

namespace {

// The pixels Qt's raster engine sets for an aliased, flat-capped line along an axis,
// painted without a transform: from the lower end up to, not including, the higher one
// (one pixel where both meet, at width 1), `width` pixels across beginning width / 2
// before the line. Grid, bevel and frame lines are all of this kind, and a filled
// rectangle gives their pixels in a fraction of the time a line takes.
std::optional<QRect> axisLineRect(const QPainter& p, int x0, int y0, int x1, int y1, int width)
{
    if ((x0 != x1 && y0 != y1) || width < 1 || p.testRenderHint(QPainter::Antialiasing) ||
        p.transform().type() != QTransform::TxNone)
        return std::nullopt;
    const int across = width / 2;
    if (x0 == x1 && y0 == y1)
        return width == 1 ? QRect(x0, y0, 1, 1) : QRect();
    if (y0 == y1)
        return QRect(std::min(x0, x1), y0 - across, std::abs(x1 - x0), width);
    return QRect(x0 - across, std::min(y0, y1), width, std::abs(y1 - y0));
}

}  // namespace

void Line(QPainter& p, int x0, int y0, int x1, int y1, std::uint32_t c, int width)
{
    const QColor ink = colour(c);
    // The pen is set all the same: what is painted next may draw with it.
    p.setPen(QPen(ink, width, Qt::SolidLine, Qt::FlatCap));
    if (const std::optional<QRect> rect = axisLineRect(p, x0, y0, x1, y1, width)) {
        if (!rect->isEmpty())
            p.fillRect(*rect, ink);
        return;
    }
    p.drawLine(x0, y0, x1, y1);
}

void FillBox(QPainter& p, int x, int y, int w, int h, std::uint32_t fill)
{
    if (w > 0 && h > 0)
        p.fillRect(x, y, w, h, colour(fill));
}

void DrawBevelBox(QPainter& p, int x, int y, int w, int h, bool sunken, std::uint32_t fill, std::uint32_t dark,
                  std::uint32_t light)
{
    FillBox(p, x, y, w, h, fill);
    const std::uint32_t topLeft = sunken ? dark : light, bottomRight = sunken ? light : dark;
    Line(p, x, y, x + w - 1, y, topLeft);
    Line(p, x, y, x, y + h - 1, topLeft);
    Line(p, x, y + h, x + w, y + h, bottomRight);
    Line(p, x + w, y, x + w, y + h, bottomRight);
}

void DrawDoubleBevelBox(QPainter& p, int x, int y, int w, int h, bool sunken, std::uint32_t fill, std::uint32_t c1,
                        std::uint32_t c2)
{
    FillBox(p, x, y, w, h, fill);
    if (sunken) {
        Line(p, x, y, x + w, y, c1);
        Line(p, x, y, x, y + h, c1);
        Line(p, x + 1, y + 1, x + w - 1, y + 1, c1);
        Line(p, x + 1, y + 1, x + 1, y + h - 1, c1);
        Line(p, x, y + h, x + w, y + h, c2);
        Line(p, x + w, y, x + w, y + h, c2);
    } else {
        Line(p, x, y, x + w, y, c2);
        Line(p, x, y, x, y + h, c2);
        Line(p, x, y + h, x + w, y + h, c1);
        Line(p, x + w, y, x + w, y + h, c1);
        Line(p, x + 1, y + h - 1, x + w - 1, y + h - 1, c1);
        Line(p, x + w - 1, y + 1, x + w - 1, y + h - 1, c1);
    }
}

void DrawCornerMarks(QPainter& p, int x, int y, int w, int h, int corners, std::uint32_t fill)
{
    const int s = std::min(w, h);
    const int x1 = x + w - 1, y1 = y + h - 1;
    p.setPen(colour(fill));
    p.setBrush(colour(fill));
    const auto triangle = [&](int cx, int cy, int dx, int dy) {
        p.drawPolygon(QPolygon({QPoint(cx, cy), QPoint(cx, cy + dy * s), QPoint(cx + dx * s, cy)}));
    };
    if (corners & 1)
        triangle(x, y, 1, 1);
    if (corners & 2)
        triangle(x1, y, -1, 1);
    if (corners & 4)
        triangle(x, y1, 1, -1);
    if (corners & 8)
        triangle(x1, y1, -1, -1);
    p.setBrush(Qt::NoBrush);
}

void DrawRing(QPainter& p, int x, int y, int w, int h, std::uint32_t c)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour((c >> 1) & 0x7F7F7F), 3));
    p.drawEllipse(QRect(x + 4, y + 3, w - 4, h - 4));
    p.setPen(QPen(colour(c), 3));
    p.drawEllipse(QRect(x + 2, y + 2, w - 4, h - 4));
    p.setPen(QPen(Qt::black, 1));
}

void DitherRect(QImage& image, int x, int y, int w, int h, std::uint32_t c, double scale)
{
    // Design pixels to the image's own.
    if (const double ratio = scale; ratio != 1.0) {
        const int x1 = int(std::lround((x + w) * ratio)), y1 = int(std::lround((y + h) * ratio));
        x = int(std::lround(x * ratio));
        y = int(std::lround(y * ratio));
        w = x1 - x;
        h = y1 - y;
    }
    const QRgb pixel = colour(c).rgb();
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, image.width()), y1 = std::min(y + h, image.height());
    for (int row = y0; row < y1; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = x0 + ((row - y + x0 - x) & 1); col < x1; col += 2)
            line[col] = pixel;
    }
}

void FillChecker(QPainter& p, int x, int y, int w, int h, std::uint32_t back, std::uint32_t fore)
{
    static QImage pattern;
    static std::uint32_t madeBack = 1, madeFore = 1;
    if (pattern.isNull() || madeBack != back || madeFore != fore) {
        pattern = QImage(8, 8, QImage::Format_RGB32);
        for (int py = 0; py < 8; ++py)
            for (int px = 0; px < 8; ++px)
                pattern.setPixel(px, py, colour((px + py) & 1 ? fore : back).rgb());
        madeBack = back;
        madeFore = fore;
    }
    p.fillRect(QRect(x, y, w, h), QBrush(pattern));
}

}  // namespace curveeditor::views
