// Painting of the ride plot and the strip chart; see monitorplot.h.

#include "monitorplot/monitorplot.h"

#include "lang/langtext.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QPainter>
#include <QPainterPath>

namespace monitorplot {
namespace {

using monitorlog::MonitorSample;

const QColor kRpmColour(31, 78, 156);
const QColor kAdvanceColour(192, 57, 43);
const QColor kMaxAdvanceColour(230, 150, 140);
const QColor kVoltageColour(46, 125, 50);
const QColor kCurveBShade(214, 228, 255);
const QColor kLimiterShade(255, 196, 196);
const QColor kStartLimiterShade(255, 226, 170);
const QColor kGrid(225, 225, 225);
const QColor kFrame(120, 120, 120);

const lang::LangText kSpeedText = "###Engine speed [rpm]##Drehzahl [U/min]##Otáčky [ot/min]";
const lang::LangText kAdvanceText = "###Advance [°] (dashed: highest allowed)##Vorzündung [°] (gestrichelt: höchste "
                                    "erlaubte)##Předstih [°] (čárkovaně: nejvyšší povolený)";
const lang::LangText kSupplyText = "###Supply [V]##Versorgung [V]##Napájení [V]";
const lang::LangText kTimeText = "###Time [s]##Zeit [s]##Čas [s]";
const lang::LangText kCurveBText = "###curve B##Kurve B##křivka B";
const lang::LangText kStartLimiterText = "###start limiter##Startbegrenzer##startovací omezovač";
const lang::LangText kLimiterText = "###limiter##Begrenzer##omezovač";
const lang::LangText kNoRecordsText = "###No monitor records##Keine Monitordaten##Žádné záznamy monitoru";

QString text(const lang::LangText& t)
{
    const std::string_view picked = t.pick();
    return QString::fromUtf8(picked.data(), qsizetype(picked.size()));
}

// Maps time and a value range onto a rectangle.
struct Scale {
    QRectF rect;
    TimeSpan time;
    double low = 0, high = 1;

    double x(double seconds) const
    {
        return rect.left() + (seconds - time.first) / (time.last - time.first) * rect.width();
    }
    double y(double value) const { return rect.bottom() - (value - low) / (high - low) * rect.height(); }
};

// Bands of time where `on` holds, from one sample to the next.
void shade(QPainter& p, const Scale& s, const Samples& samples, const QColor& colour,
           const std::function<bool(const MonitorSample&)>& on)
{
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!on(samples[i]))
            continue;
        std::size_t end = i;
        while (end + 1 < samples.size() && on(samples[end + 1]))
            ++end;
        const double from = samples[i].seconds;
        const double to = end + 1 < samples.size() ? samples[end + 1].seconds : samples[end].seconds;
        const double left = s.x(from), right = std::max(s.x(to), left + 1.5);  // a single sample still shows
        p.fillRect(QRectF(left, s.rect.top(), right - left, s.rect.height()), colour);
        i = end;
    }
}

void shadeEvents(QPainter& p, const Scale& s, const Samples& samples)
{
    shade(p, s, samples, kCurveBShade, [](const MonitorSample& m) { return m.curve == 'B'; });
    shade(p, s, samples, kStartLimiterShade, [](const MonitorSample& m) { return m.startLimiter; });
    shade(p, s, samples, kLimiterShade, [](const MonitorSample& m) { return m.limiter; });
}

void line(QPainter& p, const Scale& s, const Samples& samples, const QColor& colour, double width,
          const std::function<double(const MonitorSample&)>& value, Qt::PenStyle style = Qt::SolidLine)
{
    if (samples.empty())
        return;
    QPolygonF points;
    points.reserve(qsizetype(samples.size()));
    for (const MonitorSample& m : samples)
        points << QPointF(s.x(m.seconds), s.y(std::clamp(value(m), s.low, s.high)));
    QPen pen(colour, width, style);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    if (points.size() == 1)
        p.drawEllipse(points.front(), width, width);
    else
        p.drawPolyline(points);
}

QString number(double value, double step)
{
    return step < 1 ? QString::number(value, 'f', step < 0.1 ? 2 : 1) : QString::number(qint64(std::lround(value)));
}

// Horizontal grid lines with their values at the left, the panel's name inside its top.
void valueAxis(QPainter& p, const Scale& s, const QString& name, const QColor& colour)
{
    const double step = niceStep(s.high - s.low, 5);
    const QFontMetricsF metrics(p.font());
    for (double v = std::ceil(s.low / step) * step; v <= s.high + step * 1e-6; v += step) {
        const double y = s.y(v);
        p.setPen(QPen(kGrid, 1));
        p.drawLine(QPointF(s.rect.left(), y), QPointF(s.rect.right(), y));
        p.setPen(Qt::black);
        const QString text = number(v, step);
        p.drawText(QPointF(s.rect.left() - 6 - metrics.horizontalAdvance(text), y + metrics.ascent() / 2 - 1), text);
    }
    p.setPen(colour);
    QFont bold = p.font();
    bold.setBold(true);
    p.save();
    p.setFont(bold);
    p.drawText(QPointF(s.rect.left() + 6, s.rect.top() + QFontMetricsF(bold).ascent() + 3), name);
    p.restore();
}

void timeGrid(QPainter& p, const Scale& s, bool labels)
{
    const double step = niceStep(s.time.last - s.time.first, 10);
    const QFontMetricsF metrics(p.font());
    for (double t = std::ceil(s.time.first / step) * step; t <= s.time.last + step * 1e-6; t += step) {
        const double x = s.x(t);
        p.setPen(QPen(kGrid, 1));
        p.drawLine(QPointF(x, s.rect.top()), QPointF(x, s.rect.bottom()));
        if (labels) {
            p.setPen(Qt::black);
            const QString text = number(t, step);
            p.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, s.rect.bottom() + metrics.ascent() + 4), text);
        }
    }
}

double roundUp(double value, double step) { return std::max(step, std::ceil(value / step) * step); }

void legend(QPainter& p, const QRectF& panel)
{
    const struct {
        QColor colour;
        QString text;
    } items[] = {{kCurveBShade, text(kCurveBText)},
                 {kStartLimiterShade, text(kStartLimiterText)},
                 {kLimiterShade, text(kLimiterText)}};
    const QFontMetricsF metrics(p.font());
    double x = panel.right() - 8;
    for (int i = 2; i >= 0; --i) {
        const double w = metrics.horizontalAdvance(items[i].text);
        x -= w;
        p.setPen(Qt::black);
        p.drawText(QPointF(x, panel.top() + metrics.ascent() + 3), items[i].text);
        x -= 16;
        p.fillRect(QRectF(x, panel.top() + 5, 12, 10), items[i].colour);
        p.setPen(kFrame);
        p.drawRect(QRectF(x, panel.top() + 5, 12, 10));
        x -= 14;
    }
}

}  // namespace

double niceStep(double range, int ticks)
{
    if (!(range > 0) || ticks < 1)
        return 1;
    const double raw = range / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

TimeSpan timeSpan(const Samples& samples)
{
    if (samples.empty())
        return {0, 1};
    const double first = samples.front().seconds;
    return {first, std::max(samples.back().seconds, first + 1)};
}

double stripSecondsAt(const QRectF& area, const Samples& samples, double x)
{
    const TimeSpan t = timeSpan(samples);
    const double u = area.width() > 0 ? std::clamp((x - area.left()) / area.width(), 0.0, 1.0) : 0;
    return t.first + u * (t.last - t.first);
}

double stripXAt(const QRectF& area, const Samples& samples, double seconds)
{
    return Scale{area, timeSpan(samples), 0, 1}.x(seconds);
}

void paintLogPlot(QPainter& p, const QRectF& area, const Samples& samples, const QString& title)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, Qt::white);
    QFont font = p.font();
    font.setPixelSize(std::clamp(int(area.height() / 55), 10, 16));
    p.setFont(font);
    const QFontMetricsF metrics(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(area.left() + 10, area.top() + 6, area.width() - 20, metrics.height() + 2),
               Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(title, Qt::ElideMiddle, area.width() - 20));

    const double left = area.left() + metrics.horizontalAdvance(QStringLiteral("00000")) + 16;
    const double right = area.right() - 16;
    const double top = area.top() + metrics.height() + 16;
    const double bottom = area.bottom() - metrics.height() * 2 - 12;
    const double gap = 10;
    const double height = bottom - top - 2 * gap;
    const TimeSpan time = timeSpan(samples);

    int maxRpm = 0, maxAdvance = 0, minAdvance = 0, minMv = 100000, maxMv = 0;
    for (const MonitorSample& m : samples) {
        maxRpm = std::max(maxRpm, m.rpm);
        maxAdvance = std::max({maxAdvance, m.advance, m.maxAdvance});
        minAdvance = std::min(minAdvance, m.advance);
        minMv = std::min(minMv, m.millivolts);
        maxMv = std::max(maxMv, m.millivolts);
    }
    if (samples.empty())
        minMv = maxMv = 12000;
    const Scale rpm{{left, top, right - left, height * 0.45}, time, 0, roundUp(maxRpm * 1.05, 1000)};
    const Scale advance{{left, rpm.rect.bottom() + gap, right - left, height * 0.32}, time,
                        std::floor(minAdvance / 5.0) * 5, roundUp(maxAdvance + 1, 5)};
    const Scale voltage{{left, advance.rect.bottom() + gap, right - left, height * 0.23}, time,
                        std::floor(minMv / 1000.0 - 0.5), std::ceil(maxMv / 1000.0 + 0.5)};

    for (const Scale* s : {&rpm, &advance, &voltage}) {
        shadeEvents(p, *s, samples);
        timeGrid(p, *s, s == &voltage);
    }
    valueAxis(p, rpm, text(kSpeedText), kRpmColour);
    valueAxis(p, advance, text(kAdvanceText), kAdvanceColour);
    valueAxis(p, voltage, text(kSupplyText), kVoltageColour);
    const double width = std::max(2.0, area.width() / 600);  // a full pixel at the core whatever the offset
    line(p, rpm, samples, kRpmColour, width, [](const MonitorSample& m) { return double(m.rpm); });
    line(p, advance, samples, kMaxAdvanceColour, width * 0.8, [](const MonitorSample& m) { return double(m.maxAdvance); },
         Qt::DashLine);
    line(p, advance, samples, kAdvanceColour, width, [](const MonitorSample& m) { return double(m.advance); });
    line(p, voltage, samples, kVoltageColour, width, [](const MonitorSample& m) { return m.millivolts / 1000.0; });
    for (const Scale* s : {&rpm, &advance, &voltage}) {
        p.setPen(QPen(kFrame, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(s->rect);
    }
    legend(p, rpm.rect);
    p.setPen(Qt::black);
    const QString axis = text(kTimeText);
    p.drawText(QPointF((left + right - metrics.horizontalAdvance(axis)) / 2, area.bottom() - 8), axis);
    if (samples.empty())
        p.drawText(rpm.rect, Qt::AlignCenter, text(kNoRecordsText));
    p.restore();
}

void paintStrip(QPainter& p, const QRectF& area, const Samples& samples, double cursorSeconds)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(area, Qt::white);
    const QRectF inner = area.adjusted(1, 2, -1, -2);
    int maxRpm = 1000, maxAdvance = 10;
    for (const MonitorSample& m : samples) {
        maxRpm = std::max(maxRpm, m.rpm);
        maxAdvance = std::max(maxAdvance, m.advance);
    }
    const TimeSpan time = timeSpan(samples);
    const Scale rpm{inner, time, 0, maxRpm * 1.05};
    const Scale advance{inner, time, 0, maxAdvance * 1.1};
    shadeEvents(p, rpm, samples);
    line(p, rpm, samples, kRpmColour, 1.2, [](const MonitorSample& m) { return double(m.rpm); });
    line(p, advance, samples, kAdvanceColour, 1.2, [](const MonitorSample& m) { return double(m.advance); });
    if (cursorSeconds >= 0 && !samples.empty()) {
        const double x = std::clamp(rpm.x(cursorSeconds), inner.left(), inner.right());
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0, 0, -1, -1));
    p.restore();
}

}  // namespace monitorplot
