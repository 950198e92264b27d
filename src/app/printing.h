#pragma once
// The print look of the main window: what was changed for printing, so that it can be undone.

#include <QColor>
#include <QWidget>

#include "util/pointerlist.h"

namespace app {

// Control class codes of the print preparation.
enum PrintKind : int {
    PrintFixed = 0, PrintLabel = 1, PrintUpDown = 2, PrintDeciUpDown = 3, PrintRadioButton = 4,
    PrintRadioGroup = 5, PrintCheckBox = 6, PrintComboBox = 7, PrintButton = 8, PrintGroupBox = 9,
    PrintTab = 10, PrintPageControl = 15, PrintTabSheet = 16, PrintGauge = 17, PrintImage = 18, PrintEdit = 19,
    PrintBitBtn = 21, PrintSpeedButton = 22, PrintBevel = 23, PrintStatusBar = 24, PrintMemo = 25,
    PrintDeciEdit = 26, PrintOther = 0
};

// What was done to a control.
enum PrintAction : int { PrintRendering = 0, MadeTransparent = 1, ColourChanged = 2, Hidden = 3 };

class CPrintObj : public util::COBJ {
public:
    CPrintObj(int kind, int action, QColor oldColor, QWidget* control)
        : kind(kind), action(action), oldColor(oldColor), control(control)
    {
    }
    int kind;
    int action;
    QColor oldColor;  // for ColourChanged; the button face otherwise
    QWidget* control;
};

// The class code of `control`.
int printKind(const QWidget* control);

}  // namespace app
