// The curve editor in the main window: created in its band, loaded from the parameter
// set with the base advance and limiter markers, fed with the live speed on every tick,
// and read back whenever the user changes a curve in it.

#include <QFrame>
#include <algorithm>

#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "curveeditor/curvesheets.h"
#include "curveeditor/widget/tab.h"
#include "link/monitor.h"

namespace app {

using params::idx::BaseAdvance;

namespace {

// A marker dragged in the editor lands in one byte; the normalisation then applies its limits.
std::uint8_t byteOf(int value) { return std::uint8_t(std::clamp(value, 0, 255)); }

}  // namespace

void TMainForm::createCurveEditorControl()
{
    if (auto* frame = qobject_cast<QFrame*>(curveEditorBand))
        frame->setFrameShape(QFrame::NoFrame);
    curveEditor = curveeditor::createCurveEditor(curveEditorBand);
    curveEditor->onChanged = [this](curveeditor::TTab& editor) { onCurveEditorChanged(editor); };
    curveEditor->model.liveOff = 1;  // no live speed until the unit sends one
}

void TMainForm::loadCurveEditor()
{
    if (!curveEditor)
        return;
    curveeditor::TabModel& m = curveEditor->model;
    curveeditor::LoadCurveSheets(m, state.params);
    // Loaded values are not edits: the constraint check starts from them.
    m.RememberValues();
    const int curve = state.currentCurve;
    if (curve >= 0 && curve != m.current)
        m.SelectSheet(curve);
    writeCurveEditorMarkers();
    curveEditor->Render();
}

void TMainForm::writeCurveEditorMarkers()
{
    curveeditor::TabModel& m = curveEditor->model;
    const int curve = std::max(state.currentCurve, 0);
    m.baseValue = state.params[BaseAdvance];
    m.limitValue1 = state.params[params::ParameterSet::forCurve(params::idx::HardLimiterA, curve)] * 100;
    m.limitValue2 = state.params[params::ParameterSet::forCurve(params::idx::StartLimiterA, curve)] * 100;
    m.dirty |= curveeditor::DirtyRelayout | curveeditor::DirtyRepaint;
}

// The start-limiter band is shown (and draggable) only while an input is the start limiter.
void TMainForm::showStartLimiterMarker(bool shown)
{
    if (!curveEditor)
        return;
    curveeditor::TabModel& m = curveEditor->model;
    for (const int sheet : {curveeditor::CurveSheetA, curveeditor::CurveSheetB}) {
        unsigned& flags = m.sheets[std::size_t(sheet)].flags;
        const unsigned wanted = shown ? flags | curveeditor::SheetStartLimiterMarker
                                      : flags & ~unsigned(curveeditor::SheetStartLimiterMarker);
        if (wanted != flags)
            m.dirty |= curveeditor::DirtyRelayout | curveeditor::DirtyRepaint;
        flags = wanted;
    }
}

void TMainForm::onCurveEditorChanged(curveeditor::TTab& editor)
{
    curveeditor::TabModel& m = editor.model;
    params::ParameterSet& p = state.params;
    state.currentCurve = params::deriveCurrentCurve(p, state.unitActiveCurve);
    if (m.current == state.currentCurve) {
        const int curve = state.currentCurve;
        p[params::ParameterSet::forCurve(params::idx::HardLimiterA, curve)] = byteOf(m.limitValue1 / 100);
        p[params::ParameterSet::forCurve(params::idx::StartLimiterA, curve)] = byteOf(m.limitValue2 / 100);
    } else if (m.current == curveeditor::CurveSheetA || m.current == curveeditor::CurveSheetB) {
        // The user picked the other curve's sheet: the curve mode follows.
        p[params::idx::CurveMode] = std::uint8_t(m.current);
        state.currentCurve = params::deriveCurrentCurve(p, state.unitActiveCurve);
        writeCurveEditorMarkers();
    }
    if (m.baseValue != p[BaseAdvance])
        p[BaseAdvance] = byteOf(m.baseValue);
    curveeditor::StoreCurrentCurve(m, p);
    if (!created)
        return;
    // The controls show the bytes just taken over, so that the commit reads them back.
    binding_->fillControls();
    binding_->commitEdit();
}

void TMainForm::curveEditorTick()
{
    if (!curveEditor)
        return;
    showLiveMarker();
    curveEditor->Tick();
}

void TMainForm::showLiveMarker()
{
    if (!curveEditor)
        return;
    curveeditor::TabModel& m = curveEditor->model;
    const bool live = monitorLive();
    m.live.rpm = live ? devlink::liveRpm(monitorRecord) : 0;
    m.live.tp = m.live.iap = 0;
    // Without a running engine there is no live speed to mark.
    m.liveOff = std::uint8_t(live ? m.liveOff & ~1 : m.liveOff | 1);
    m.liveFlags = (m.liveFlags & ~1) | (live && devlink::activeCurve(monitorRecord) == 1 ? 1 : 0);
}

void TMainForm::MenuAdvanceClick(int delta)
{
    if (!curveEditor)
        return;
    curveEditor->model.Increment(delta);
    curveEditor->model.dirty |= curveeditor::DirtyRepaint;
    curveEditor->Render();
}

}  // namespace app
