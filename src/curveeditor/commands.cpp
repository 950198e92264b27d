// The numbered commands that change the model; the clipboard commands (0, 1, 2, 40)
// belong to the clipboard exchange, not here.

#include "curveeditor/commandcodes.h"
#include "curveeditor/model.h"

namespace curveeditor {
bool TabModel::RunCommand(int command, int argument)
{
    if (!sheet)
        return false;
    CSheet& s = *sheet;
    switch (command) {
    case CmdIncrement:
    case CmdDecrement:
        Increment(command == CmdIncrement ? 1 : -1);
        return true;
    case CmdViewTable:
    case CmdView2D:
    case CmdView3D:
        requestedView = 1 << (command - CmdViewTable);
        dirty |= DirtyView | DirtyRelayout | DirtyRepaint;
        return true;
    case CmdEditableX:
    case CmdEditableX + 1:
    case CmdEditableZ:
        s.axis(1 << (command - CmdEditableX)).editable = argument ? 1 : 0;
        SelectSheet(current);
        dirty |= DirtyRepaint;
        return true;
    case CmdOnlyX:
    case CmdOnlyY:
    case CmdBoth: {
        const bool allowed = command == CmdOnlyX   ? s.x.sliceMode < 2 && s.y.sliceMode != 0
                             : command == CmdOnlyY ? s.x.sliceMode != 0 && s.y.sliceMode < 2
                                                   : s.x.sliceMode < 2 && s.y.sliceMode < 2;
        if (allowed) {
            Change(0, BeginKey);
            s.x.sliced = command == CmdOnlyY;
            s.y.sliced = command == CmdOnlyX;
            SelectSheet(current);
            Change(AxisAll, 0);
        }
        return true;
    }
    case CmdPresetTop:
    case CmdPresetTop + 1:
    case CmdPresetIso2:
        SetAngles(Presets3D[std::size_t(command - CmdPresetTop)]);
        dirty |= DirtyRepaint;
        return true;
    case CmdSwitchSheet:
        Change(0, BeginKey);
        s.enabled = !s.enabled;
        Change(AxisAll, 0);
        dirty |= DirtyRepaint;
        return true;
    case CmdPositionBeginning:
    case CmdPositionBeginning + 1:
    case CmdPositionEnd:
        if (positionChoice != command - CmdPositionBeginning) {
            Change(0, BeginKey);
            positionChoice = command - CmdPositionBeginning;
            Change(AxisAll, 0);
        }
        return true;
    case CmdAddColumn:
    case CmdRemoveColumn:
        if (command == CmdAddColumn)
            InsertAt(true, s.x.count);
        else
            RemoveAt(true, s.x.count - 1);
        s.sel.Clear();
        dirty |= DirtyFrame | DirtyRepaint;
        return true;
    case CmdInterpolate:
        Interpolate();
        return true;
    case CmdScrollX:
    case CmdScrollY:
        (command == CmdScrollX ? s.x : s.y).scrollPos = argument;
        Relayout();
        spin.shown = 0;
        dirty |= DirtyRepaint;
        return true;
    default:
        return false;
    }
}

void TabModel::SetAngles(Angles3D angles)
{
    angles = {WrapAngle(angles.x), WrapAngle(angles.xy), WrapAngle(angles.xyz)};
    if (angles == graph.angles)
        return;
    graph.angles = angles;
    dirty |= DirtyRelayout | DirtyRepaint;
}

}  // namespace curveeditor
