// The monitor-log part of the main window: its controls at their design places and what
// they show of the log session.

#include "app/playerpanel.h"

#include <QAction>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>

#include "app/placement.h"
#include "app/stripchart.h"
#include "monitorlog/logsession.h"

namespace app {

PlayerPanel::PlayerPanel(QWidget* client) : client_(client) {}

PlayerPanel::~PlayerPanel() = default;

void PlayerPanel::createGroup()
{
    GroupBoxPlayer = group(client_, "GroupBoxPlayer", 11, 851, 990, 87, "Monitor player");
    QWidget* gp = GroupBoxPlayer;
    const char* playIcons[4] = {"record", "play", "pause", "stop"};
    const char* playHints[4] = {"Record|Start to record all events and monitor", "Play|Play stored events and monitor",
                                "Pause|Pause Play or Record", "Stop|Stop Play or Record"};
    const int playLeft[4] = {16, 42, 70, 98};
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = "SpeedButtonPlay" + QByteArray::number(i + 1);
        SpeedButtonPlay[std::size_t(i)] =
            speedButton(gp, name.constData(), playLeft[i], 21, 24, 23, playIcons[i], playHints[i]);
    }
    LabelPlayDevice = label(gp, "LabelPlayDevice", 127, 10, "");
    LabelPlayFile = label(gp, "LabelPlayFile", 127, 27, "Play/Record file");
    LabelPlayPos = label(gp, "LabelPlayPos", 730, 27, "POS/LEN/Time");
    ScrollBarPlay = place(new QScrollBar(Qt::Horizontal, gp), "ScrollBarPlay", 14, 56, 954, 17);
}

void PlayerPanel::createMenuItem(QMenu* tools)
{
    MenuMonitorPlayer = item(tools, "MenuMonitorPlayer", "Monitor Player", QKeySequence(Qt::CTRL | Qt::Key_M));
    MenuMonitorPlayer->setCheckable(true);
}

void PlayerPanel::connectCommands(Commands commands)
{
    for (int i = 0; i < int(SpeedButtonPlay.size()); ++i)
        connect(SpeedButtonPlay[std::size_t(i)], &QToolButton::clicked, this, [button = commands.button, i] { button(i); });
    ScrollBarPlay->setPageStep(1);  // one record a step; a thumb of its own size
    connect(ScrollBarPlay, &QScrollBar::valueChanged, this, [seek = commands.seek](int position) { seek(position); });
    // The ride at a glance above the scroll bar while a log is replayed; a click seeks.
    strip_ = new StripChart(GroupBoxPlayer);
    strip_->setObjectName(QStringLiteral("StripChartPlay"));
    strip_->setGeometry(390, 8, 330, 45);
    strip_->setProperty("designRect", strip_->geometry());  // scaled with the window's zoom
    connect(strip_, &StripChart::seekRequested, this, [seek = commands.seek](int position) { seek(position); });
    connect(MenuMonitorPlayer, &QAction::triggered, this, [this, changed = commands.shownChanged] {
        setShown(!shown());
        changed();
    });
}

void PlayerPanel::setShown(bool show)
{
    GroupBoxPlayer->setVisible(show);
    MenuMonitorPlayer->setChecked(shown());
}

bool PlayerPanel::shown() const { return GroupBoxPlayer->isVisibleTo(client_); }

void PlayerPanel::showControls(const monitorlog::LogControls& c, const QString& fileName,
                               const monitorlog::LogImage* replayed, int position)
{
    const bool enabled[] = {c.record, c.play, c.pause, c.stop};
    for (std::size_t i = 0; i < SpeedButtonPlay.size(); ++i)
        SpeedButtonPlay[i]->setEnabled(enabled[i]);
    {
        const QSignalBlocker quiet(ScrollBarPlay);  // a position set here is no jump of the user's
        ScrollBarPlay->setRange(0, c.scrollMax);
        ScrollBarPlay->setValue(c.scrollPosition);
    }
    ScrollBarPlay->setVisible(c.scrollVisible);
    setLabelText(LabelPlayPos, QString::fromStdString(c.positionText));
    LabelPlayPos->setVisible(c.positionVisible);
    setLabelText(LabelPlayFile, fileName);
    LabelPlayFile->setVisible(c.fileVisible);
    setLabelText(LabelPlayDevice, QString());
    LabelPlayDevice->setVisible(c.deviceVisible);
    if (strip_)
        strip_->follow(replayed, position);
}

}  // namespace app
