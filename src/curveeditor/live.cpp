// The live active cell: where on the shown sheet the running engine is.

#include <optional>

#include "curveeditor/model.h"
#include "curveeditor/numbers.h"

namespace curveeditor {
namespace {

// The live value of `axis` in its stored units, none for labels without a live input.
std::optional<double> liveValueFor(const TabModel& m, const CAxe& axis)
{
    const double scale = axis.scale;
    const std::string& label = axis.label;
    if (label == "RPM")
        return m.live.rpm / scale;
    if (label == "TP")
        return (m.liveInvalid & 2) ? std::nullopt : std::optional<double>(m.live.tp / scale);
    if (label == "IAP")
        return (m.liveInvalid & 4) ? std::nullopt : std::optional<double>(m.live.iap / scale);
    if (label == "TA")
        return m.live.ta / scale;
    if (label == "TW")
        return m.live.tw / scale;
    if (label == "Tst")
        return m.live.tst / scale;
    if (label == "AFR")
        return double(m.live.afr);
    return std::nullopt;
}

// Nearest point by midpoints; exactly on a midpoint belongs to the upper point.
int nearestByMidpoints(const CAxe& axis, double value)
{
    for (int i = 0; i + 1 < axis.count; ++i)
        if ((double(axis.values[std::size_t(i)]) + axis.values[std::size_t(i + 1)]) / 2 > value)
            return i;
    return axis.count - 1;
}

}  // namespace

int TabModel::FindLiveIndex(const CAxe& axis)
{
    const std::optional<double> value = liveValueFor(*this, axis);
    if ((liveOff & 1) || !value || axis.values.empty())
        return -2;
    if (axis.label == "RPM" && (viewBits & (ViewGraph2D | ViewCheckGrid)) && live.rpm != lastLiveRpm_)
        dirty |= (viewBits & ViewCheckGrid) ? DirtyRepaint : DirtyLiveSpeed;
    if (*value < axis.values[0])
        return (sheet && (sheet->flags & SheetBaseMarker) && axis.label == "RPM") ? -1 : 0;
    if (axis.label == "Tst")
        for (int i = 1; i < axis.count; ++i)
            if (axis.values[std::size_t(i)] > *value)
                return i - 1;
    return nearestByMidpoints(axis, *value);
}

void TabModel::UpdateActiveCell()
{
    if (!sheet)
        return;
    CSheet& s = *sheet;
    if (!(s.flags & SheetLiveCell)) {
        s.activeKind = 0;
        s.activeCol = s.activeRow = -2;
        return;
    }
    if (s.x.hasStringView()) {
        updateStringViewRows();
        lastLiveRpm_ = live.rpm;
        return;
    }
    const int oldKind = s.activeKind, oldCol = s.activeCol, oldRow = s.activeRow;
    int col = s.x.sliced ? s.x.sliceIndex : FindLiveIndex(s.x);
    int row = s.y.sliced ? s.y.sliceIndex : FindLiveIndex(s.y);
    int kind = 1;
    if ((col == -2 && !s.x.sliced) || (row == -2 && !s.y.sliced))
        kind = 0;
    // The curve and load-axis rules only qualify a cell that was found.
    if (kind != 0 && s.z.label == "ADV") {
        kind = (liveFlags & 1) == current ? 1 : 2;
        const bool loadIsIap = liveFlags & (current == 0 ? 0x10 : current == 1 ? 0x20 : 0);
        if ((s.y.label == "TP" && loadIsIap) || (s.y.label == "IAP" && !loadIsIap))
            kind = -1;
    }
    if (kind != 0 && s.z.label == "INJ") {
        if (s.y.label == "TP")
            kind = live.tp == 0 ? -1 : live.tp == 100 ? 1 : 2;
        else if (s.y.label == "IAP")
            kind = live.tp == 100 ? -1 : live.tp == 0 ? 1 : 2;
    }
    if (s.x.label == "RPM" && live.rpm == 0)
        kind = 0;
    lastLiveRpm_ = live.rpm;
    s.activeKind = kind;
    s.activeCol = col;
    s.activeRow = row;
    if (kind != oldKind || col != oldCol || row != oldRow) {
        if (autoscroll && *autoscroll)
            ScrollToCell(col, row);
        dirty |= DirtyRepaint;
    }
}

void TabModel::updateStringViewRows()
{
    CSheet& s = *sheet;
    int found = 0;
    for (int i = 0; i < s.x.count && found < 2; ++i) {
        const std::string text = ViewText(s.x, i);
        const bool coolant = text == "Coolant", inletAir = text == "Inlet Air";
        if (!coolant && !inletAir)
            continue;
        const int temperature = coolant ? live.tw : live.ta;
        const int value = truncToInt(temperature / s.x.scale + 0.5);
        int row = s.y.count > 0 && value < s.y.values[0] ? 0 : nearestByMidpoints(s.y, value);
        if (row != s.activeRowOfView[std::size_t(found)]) {
            s.activeRowOfView[std::size_t(found)] = row;
            dirty |= DirtyRepaint;
        }
        ++found;
    }
}

}  // namespace curveeditor
