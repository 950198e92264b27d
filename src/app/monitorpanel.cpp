// The monitor panel: the unit's live values (or a replayed log's) on the labels and the
// engine-speed bar.

#include <QLabel>

#include "app/mainform.h"

namespace app {
namespace {

void showLabel(QLabel* label, const devlink::LabelView& view, const QPalette& neutral)
{
    setLabelText(label, QString::fromStdString(view.text));
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, view.back == devlink::kNeutral ? neutral.color(QPalette::Window)
                                                                      : bgrColour(view.back));
    label->setAutoFillBackground(view.back != devlink::kNeutral);
    label->setPalette(palette);
    label->setEnabled(view.enabled);
}

}  // namespace

bool TMainForm::monitorLive() const { return unitConnected() || monitorLog.replaying(); }

void TMainForm::showMonitor()
{
    const devlink::MonitorView v = devlink::buildMonitorView(monitorRecord, state.params, monitorLive(), texts);
    const QPalette neutral = client->palette();
    const std::pair<QLabel*, const devlink::LabelView*> labels[] = {
        {LabelNapeti, &v.voltage},         {LabelMonInput1In, &v.input1},
        {LabelMonInput2In, &v.input2},     {LabelKillSwitch, &v.killSwitch},
        {LabelBlocking, &v.blocking},      {LabelMonCurve, &v.curve},
        {LabelClutchMon, &v.clutch},       {LabelMonStartLimiterOut, &v.startLimiter},
        {LabelMonHardLimiter, &v.limiter}, {LabelMonLedRazeni, &v.pilotLight},
        {LabelSnimac, &v.pickup},          {LabelPolaritaMer, &v.polarity},
        {LabelMon_Advance, &v.advance},
    };
    for (const auto& [label, view] : labels)
        showLabel(label, *view, neutral);
    setLabelText(LabelRpm, QString::fromStdString(v.rpm));
    CGaugeRpm->setValue(std::clamp(v.rpmBarPercent, 0, 100));
    setLabelText(LabelPocetProgramovani, QString::fromStdString(v.programmingCount));
    setLabelText(LabelHourMeter, QString::fromStdString(v.hourMeter));
    LabelEeDataErr->setVisible(v.dataErrorVisible);
    for (std::size_t i = 0; i < LabelTest.size(); ++i)
        setLabelText(LabelTest[i], QString::fromStdString(v.tests[i]));
}

}  // namespace app
