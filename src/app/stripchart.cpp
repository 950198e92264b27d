// The player's strip chart; see stripchart.h.

#include "app/stripchart.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "lang/langtext.h"
#include "monitorlog/logtable.h"

namespace app {
namespace {

const lang::LangText kHint = "###Engine speed (blue) and advance (red) of the whole log; click to jump there##"
                             "Drehzahl (blau) und Vorzündung (rot) des ganzen Protokolls; ein Klick springt dorthin##"
                             "Otáčky (modře) a předstih (červeně) celého záznamu; kliknutím skočíte na dané místo";

}  // namespace

StripChart::StripChart(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    hide();
}

void StripChart::follow(const monitorlog::LogImage* log, int position)
{
    if (!log || log->recordCount() == 0) {
        followedData_ = nullptr;
        followedRecords_ = -1;
        samples_.clear();
        hide();
        return;
    }
    // A newly loaded log brings a new data block.
    if (log->data.data() != followedData_ || log->recordCount() != followedRecords_) {
        followedData_ = log->data.data();
        followedRecords_ = log->recordCount();
        initialRecords_ = log->initialRecords;
        recordTimes_.clear();
        monitorRecords_.clear();
        for (int k = 0; k < log->recordCount(); ++k) {
            const monitorlog::RecordView r = log->record(k);
            recordTimes_.push_back(r.timeMs);
            if (r.type == monitorlog::Monitor)
                monitorRecords_.push_back(k);
        }
        samples_ = monitorlog::monitorSamples(*log);
    }
    const std::string_view hint = kHint.pick();  // in the language of the moment
    setToolTip(QString::fromUtf8(hint.data(), qsizetype(hint.size())));
    if (position != position_ || !isVisible()) {
        position_ = position;
        update();
    }
    show();
}

double StripChart::markSeconds() const
{
    if (samples_.empty())
        return -1;
    const int k = initialRecords_ + position_ - 1;
    if (position_ <= 0 || k < 0 || k >= int(recordTimes_.size()))
        return samples_.front().seconds;
    return recordTimes_[std::size_t(k)] / 1000.0;
}

double StripChart::markX() const
{
    const double seconds = markSeconds();
    return seconds < 0 ? -1 : monitorplot::stripXAt(QRectF(rect()), samples_, seconds);
}

int StripChart::positionAt(double x) const
{
    if (monitorRecords_.empty())
        return -1;
    const double ms = monitorplot::stripSecondsAt(QRectF(rect()), samples_, x) * 1000;
    const auto nearer = [&](int a, int b) {
        return std::abs(recordTimes_[std::size_t(a)] - ms) < std::abs(recordTimes_[std::size_t(b)] - ms);
    };
    const int k = *std::min_element(monitorRecords_.begin(), monitorRecords_.end(), nearer);
    return k - initialRecords_ + 1;
}

void StripChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    monitorplot::paintStrip(painter, QRectF(rect()), samples_, markSeconds());
}

void StripChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const int position = positionAt(event->position().x());
    if (position >= 1)
        Q_EMIT seekRequested(position);
}

}  // namespace app
