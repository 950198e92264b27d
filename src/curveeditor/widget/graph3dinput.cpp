// Pointer and keys of the 3D graph: rotating by dragging and the wheel, the wheel over
// the legend, the colour and label modes, and the hints that teach them.

#include <algorithm>

#include "curveeditor/views/graph3d.h"
#include "curveeditor/widget/tab.h"
#include "lang/langtext.h"

namespace curveeditor {
namespace {

constexpr const char* LegendHint =
    "###Set actual value - mouse wheel##Istwert setzen - Mausrad##Nastav aktuální hodnotu - kolečko myši";
constexpr const char* RotationHint =
    "###Rotate: drag mouse (X, XY) and wheel (XYZ)   \nGraph quality: CTRL+mouse wheel   \nView values: SHIFT + mouse wheel"
    "##Drehen: Ziehen Sie die Maus (X, XY) und Rad (XYZ)  nGraph Qualität: STRG + Mausrad  nView Werte: SHIFT + Mausrad"
    "##Otáčení - tažení myší (X a XY) a kolečkem (XYZ)  \nJemnost vykreslení grafu: CTRL+kolečko myši   \nZobrazení hodnot: "
    "SHIFT+kolečko myši";
constexpr const char* QualityHint = "###high graph drawing quality takes lot of CPU time##hohe Qualität Zeichnen von Graphen "
                                    "nimmt sehr viel CPU-Zeit##vysoká kvalita vykreslení grafu značně zatěžuje počítač";

std::string pick(const char* text) { return std::string(lang::LangText(text).pick()); }

}  // namespace

bool TTab::Graph3DMouseMove(int x, int y)
{
    views::Graph3DState& r = view.graph3D;
    TTabGraph& g = model.graph;
    hoverText.clear();
    if (r.rotating) {
        const Angles3D before = g.angles;
        model.SetAngles({r.startAngleX - (y - r.startY) / 10, r.startAngleXY + (x - r.startX) / 10, g.angles.xyz});
        if (!(g.angles == before))
            g.hints3D &= ~Hint3DRotate;
        return true;
    }
    if (!inGraph)
        return false;
    // The hint teaches a gesture until the user has used it once.
    if (y > view.graph.areaTop + 45) {
        if (x - view.graph.areaLeft < 130) {
            if (g.hints3D & Hint3DLegendWheel)
                hoverText = pick(LegendHint);
        } else if (x - view.graph.areaLeft > 160 && (g.hints3D & Hint3DRotate)) {
            hoverText = pick(RotationHint) + "\n" + pick(QualityHint);
        }
    }
    return true;
}

bool TTab::Graph3DLeftDown(int x, int y)
{
    if (x <= views::LegendRight(model, view))
        return false;
    views::Graph3DState& r = view.graph3D;
    r.rotating = 1;
    r.startX = x;
    r.startY = y;
    r.startAngleX = model.graph.angles.x;
    r.startAngleXY = model.graph.angles.xy;
    return true;
}

bool TTab::Graph3DLeftUp()
{
    if (!view.graph3D.rotating)
        return false;
    view.graph3D.rotating = 0;
    return true;
}

bool TTab::Graph3DWheel(int delta)
{
    TTabGraph& g = model.graph;
    CSheet& s = *model.sheet;
    if (pointerX <= views::LegendRight(model, view)) {
        int col, row;
        if (views::CurrentCell3D(s, col, row))
            model.StepCell(col, row, delta);
        g.hints3D &= ~Hint3DLegendWheel;
    } else if (ctrlDown) {
        g.colourMode = std::clamp(g.colourMode + delta, 0, 5);
    } else if (shiftDown) {
        g.labelMode = std::clamp(g.labelMode + delta, 0, 3);
    } else {
        model.SetAngles({g.angles.x, g.angles.xy, g.angles.xyz + delta});
    }
    model.dirty |= DirtyRepaint;
    return true;
}

bool TTab::Graph3DKey(int key)
{
    if (key != ' ')
        return false;
    model.graph.labelMode = (model.graph.labelMode + 1) % 4;
    model.dirty |= DirtyRepaint;
    return true;
}

}  // namespace curveeditor
