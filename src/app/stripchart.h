#pragma once
// The strip chart of the monitor player: engine speed and advance over the whole
// replayed log, the replay position marked; a click asks the player to seek to the
// monitor record nearest the clicked time.

#include <cstdint>
#include <vector>

#include <QWidget>

#include "monitorlog/logformat.h"
#include "monitorplot/monitorplot.h"

namespace app {

class StripChart : public QWidget {
    Q_OBJECT
public:
    explicit StripChart(QWidget* parent = nullptr);

    // Follows the replayed `log` (null: nothing is replayed, the chart hides) at player
    // position `position` (0: the initial records, p: record initial + p - 1).
    void follow(const monitorlog::LogImage* log, int position);

    // The player position a click at `x` seeks to; -1 when the log has no monitor record.
    int positionAt(double x) const;
    // Where the replay mark stands; negative when none.
    double markX() const;
    const monitorplot::Samples& samples() const { return samples_; }

Q_SIGNALS:
    void seekRequested(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double markSeconds() const;

    const std::uint8_t* followedData_ = nullptr;
    int followedRecords_ = -1;
    int initialRecords_ = 0;
    int position_ = 0;
    std::vector<std::uint32_t> recordTimes_;  // of every record, ms
    std::vector<int> monitorRecords_;         // indices of the monitor records
    monitorplot::Samples samples_;
};

}  // namespace app
