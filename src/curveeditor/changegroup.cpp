// The change group: every user change of a sheet runs through Change(), which checks the
// sheet and announces the change to the owner once. Steps that share a key (holding +,
// turning the wheel over one cell) are announced together, 5 ticks after the last one;
// a structural edit between BeginKey and EndKey is announced at its end.

#include "curveeditor/model.h"

namespace curveeditor {

void TabModel::Change(int parts, int key)
{
    if (key == EndKey && pendingKey != BeginKey)
        return;
    pendingParts |= parts;
    if (sheet)
        CheckSheet(*sheet, parts);
    if (key == 0 || key == EndKey) {
        announce();
        return;
    }
    if (key != pendingKey && pendingKey != 0)
        announce();
    pendingKey = key;
    flushAt = tick + 5;
}

void TabModel::FlushPending()
{
    if (pendingParts != 0 && tick >= flushAt)
        Change(pendingParts, 0);
}

void TabModel::announce()
{
    if (pendingParts != 0 && sheet) {
        ConvertPercent(*sheet);
        dirty |= DirtyRepaint;
        if (onChanged)
            onChanged(*this);
        if (pendingParts & (AxisX | AxisY))
            ResampleBase(*sheet);
    }
    pendingParts = 0;
    pendingKey = 0;
    flushAt = 0;
}

}  // namespace curveeditor
