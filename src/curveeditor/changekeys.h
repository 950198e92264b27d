#pragma once
// Keys of value steps: the kind of target and the element (or the selection's place and
// size), so that only repeated steps on the same target share a key. All stay below
// BeginKey.

#include "curveeditor/sheet.h"

namespace curveeditor {

enum StepTarget : int {
    TargetLiveCell = 1,
    TargetBaseValue = 2,
    TargetSelection = 3,
    TargetXHeader = 4,
    TargetYHeader = 5,
    TargetCell = 6,
    TargetSelectedItems = 7,
};

inline int stepKey(int target, int col, int row, int size = 0)
{
    return (target << 24) | (((col + 2) & 0x3F) << 18) | (((row + 2) & 0x3F) << 12) | (size & 0xFFF);
}

inline int selectionKey(int target, const TSel& sel) { return stepKey(target, sel.firstCol, sel.firstRow, sel.count); }

}  // namespace curveeditor
