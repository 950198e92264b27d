#pragma once
// The numbered commands of the curve editor: the buttons of its frame, its menu items and
// keys run them. A frame button's index is the command it runs.

namespace curveeditor {

enum Command : int {
    CmdCopy = 0,  // clipboard commands (0, 1, 2, 40) belong to the clipboard exchange
    CmdCopyTable = 1,
    CmdPaste = 2,
    CmdIncrement = 3,
    CmdDecrement = 4,
    CmdViewTable = 5,
    CmdView2D = 6,
    CmdView3D = 7,
    CmdEditableX = 10,
    CmdEditableZ = 12,
    CmdOnlyX = 13,
    CmdOnlyY = 14,
    CmdBoth = 15,
    CmdPresetTop = 16,
    CmdPresetIso2 = 18,
    CmdSwitchSheet = 19,
    CmdPositionBeginning = 20,
    CmdPositionEnd = 22,
    CmdAddColumn = 23,
    CmdRemoveColumn = 24,
    CmdCopyGraph = 40,
    CmdInterpolate = 101,
    CmdScrollX = 1001,
    CmdScrollY = 1002,
};

}  // namespace curveeditor
