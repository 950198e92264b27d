// Clipboard text from any program into the curve editor: the first byte picks the sheet
// (a curve or a map), the target and plain or sheet paste; the rest is the text. After
// the paste the sheet keeps its limits, and its own sheet text reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "curveeditor/clipboardtext.h"
#include "curveeditor/curvesheets.h"
#include "lang/messagebox.h"

using namespace curveeditor;

namespace {

void addMap(TabModel& m)
{
    const int index = m.AddSheet("###Map##Kennfeld##Mapa", "RPM", "TP", "Fuel", 20, 12, 0);
    AxisDefinition x;
    x.label = "RPM";
    x.scale = 100;
    x.maxValue = 200;
    x.count = 8;
    AxisDefinition y = x;
    y.label = "TP";
    y.scale = 1;
    y.count = 6;
    AxisDefinition z;
    z.label = "INJ";
    z.scale = 0.1;
    z.minValue = -1000;
    z.maxValue = 1000;
    m.DefineAxis(index, AxisX, x);
    m.DefineAxis(index, AxisY, y);
    m.DefineAxis(index, AxisZ, z);
    CSheet& s = m.sheets[std::size_t(index)];
    for (int c = 0; c < 8; ++c)
        s.x.values[std::size_t(c)] = 10 * (c + 1);
    for (int r = 0; r < 6; ++r)
        s.y.values[std::size_t(r)] = 10 * r;
    m.CheckSheet(s, AxisAll | CheckAfresh);
}

bool limitsKept(const CSheet& s)
{
    if (s.x.count < s.x.minCount || s.x.count > s.x.maxCount || s.y.count < s.y.minCount || s.y.count > s.y.maxCount)
        return false;
    for (int r = 0; r < s.y.count; ++r)
        for (int c = 0; c < s.x.count; ++c)
            if (s.cell(c, r) < s.z.minValue || s.cell(c, r) > s.z.maxValue)
                return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > MaxClipboardText + 1)
        return 0;
    static const lang::MessageBoxHook quiet = [](std::string_view, std::string_view, unsigned) { return int(lang::IdOk); };
    lang::setMessageBoxHook(quiet);
    const std::uint8_t mode = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    TabModel m;
    SetupCurveSheets(m);
    addMap(m);
    m.SelectSheet((mode & 1) ? 2 : CurveSheetA);
    m.RememberValues();
    CSheet& s = *m.sheet;
    const int target = (mode >> 2) & 3;
    const int at = (mode >> 4) & 7;
    if (target == 1)
        s.sel.SelectOne(at, 0);
    else if (target == 2)
        s.sel.SelectOne(at, -1);
    else if (target == 3)
        s.sel.SelectOne(-1, at % s.y.count);
    if (mode & 2)
        PasteSheetText(m, text);
    else
        PastePlainText(m, text);
    if (!limitsKept(s))
        std::abort();

    const ClipboardTexts own = CopyTableTexts(m);
    const auto values = s.z.values;
    const auto xs = s.x.values;
    const int cols = s.x.count, rows = s.y.count;
    PasteSheetText(m, own.sheet);
    if (s.x.count != cols || s.y.count != rows || s.z.values != values)
        std::abort();
    for (int c = 0; c < cols; ++c)
        if (s.x.values[std::size_t(c)] != xs[std::size_t(c)])
            std::abort();
    return 0;
}
