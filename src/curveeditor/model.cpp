// Sheets and axes: creation, definition, the sheet switch, string views and the tick.

#include <algorithm>

#include "curveeditor/model.h"
#include "lang/langtext.h"
#include "lang/messagebox.h"

namespace curveeditor {
namespace {

constexpr std::size_t TitleChars = 255, LabelChars = 63, UnitChars = 15;

// At most `limit` bytes, never cutting a UTF-8 sequence.
std::string bounded(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return std::string(text);
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

int defaultTextWidth(std::string_view text, int size)
{
    return int(lang::characterCount(text)) * size * 6 / 10;
}

void loadSteps(CAxe& axis, const std::vector<TScaleStep>& steps)
{
    axis.stepCount = 0;
    for (const TScaleStep& record : steps) {
        if (record.gridStep == 0)
            break;
        axis.steps[std::size_t(std::min(axis.stepCount, MaxScaleSteps - 1))] = record;
        axis.stepCount = std::min(axis.stepCount + 1, MaxScaleSteps);
    }
}

int resolveSlice(const CAxe& axis)
{
    switch (axis.slicePos) {
    case -1:
        return 0;
    case -2:
        return std::max(axis.count - 1, 0);
    case -3:
        return axis.count / 2;
    default:
        return std::clamp(axis.slicePos, 0, std::max(axis.count - 1, 0));
    }
}

}  // namespace

void CAxe::allocate(int capacity, bool withHistory)
{
    values.assign(std::size_t(capacity), 0);
    marks.assign(std::size_t(capacity), 0);
    if (withHistory) {
        prevValues.assign(std::size_t(capacity), 0);
        savedValues.assign(std::size_t(capacity), 0);
        pushed.assign(std::size_t(capacity), 0);
    }
}

bool CAxe::hasStringView() const
{
    return std::any_of(viewTexts.begin(), viewTexts.end(), [](const auto& text) { return text.has_value(); });
}

TabModel::TabModel(int controlOptions) : options(controlOptions), measureText(defaultTextWidth)
{
    PercentStepTable();  // filled once, before the first step needs it
}

int TabModel::AddSheet(std::string_view title, std::string_view xTitle, std::string_view yTitle,
                       std::string_view zTitle, int maxColumns, int maxRows, unsigned flags)
{
    if (sheetCount >= MaxSheets)
        return -1;
    const int index = sheetCount++;
    CSheet& s = sheets[std::size_t(index)];
    s = CSheet{};
    s.flags = flags;
    s.x.allocate(MaxCols, true);
    s.y.allocate(MaxRows, true);
    s.z.allocate(MaxCells, false);
    if (flags & SheetPercentMode) {
        s.baseMap.assign(MaxCells, 0);
        s.baseX.assign(MaxCols, 0);
        s.baseY.assign(MaxRows, 0);
        s.baseOnGrid.assign(MaxCells, 0);
        s.absValues.assign(MaxCells, 0);
    }
    SetSheetTitle(index, title);
    s.x.title = bounded(xTitle, TitleChars);
    s.y.title = bounded(yTitle, TitleChars);
    s.z.title = bounded(zTitle, TitleChars);
    s.x.showUnit = s.y.showUnit = 1;
    s.z.showUnit = 0;
    s.x.maxCount = s.x.count = std::clamp(maxColumns, 1, MaxCols);
    s.y.maxCount = s.y.count = std::clamp(maxRows, 1, MaxRows);
    CheckSheet(s, AxisAll);
    if (options & OptionCheckGrid) {
        s.textSize = -10;
        s.x.textSize = s.y.textSize = s.z.textSize = -9;
    }
    return index;
}

void TabModel::SetSheetTitle(int index, std::string_view title)
{
    if (index < 0 || index >= sheetCount)
        return;
    CSheet& s = sheets[std::size_t(index)];
    s.title = bounded(title, TitleChars);
    const lang::LangText text(s.title);
    int widest = 0;
    for (int language = 0; language < 3; ++language)
        widest = std::max(widest, measureText ? measureText(text.pick(language), s.titleSize) : 0);
    s.tabWidth = widest + 15;
}

void TabModel::DefineAxis(int index, int which, const AxisDefinition& d)
{
    if (index < 0 || index >= sheetCount)
        return;
    CSheet& s = sheets[std::size_t(index)];
    for (CAxe* axis : {&s.x, &s.y}) {
        if (!(which & (axis == &s.x ? AxisX : AxisY)))
            continue;
        axis->label = bounded(d.label, LabelChars);
        axis->unit = bounded(d.unit, UnitChars);
        axis->minValue = d.minValue;
        axis->maxValue = d.maxValue;
        axis->scale = d.scale;
        axis->minStep = d.minStep;
        axis->editable = d.editable;
        axis->numeric = d.options & 1;
        axis->option3D = (d.options >> 1) & 1;
        axis->minCount = std::min(std::max(d.minCount, 1), axis->maxCount);
        axis->count = std::clamp(d.count, axis->minCount, axis->maxCount);
        axis->sliceMode = d.sliceMode;
        axis->sliced = d.sliced;
        axis->resizable = d.resizable;
        axis->slicePos = d.slicePos;
        axis->groupMask = d.groupMask;
        axis->color = d.color;
        axis->auxColor = d.auxColor;
        loadSteps(*axis, d.steps);
    }
    if (which & AxisZ) {
        s.z.label = bounded(d.label, LabelChars);
        s.z.unit = bounded(d.unit, UnitChars);
        s.z.minValue = d.minValue;
        s.z.maxValue = d.maxValue;
        s.z.scale = d.scale;
        s.z.editable = d.editable;
        s.z.numeric = 1;
        s.z.option3D = (d.options >> 1) & 1;
        s.z.groupMask = d.groupMask;
        s.z.color = d.color;
        s.z.auxColor = d.auxColor;
        loadSteps(s.z, d.steps);
    }
}

void TabModel::SelectSheet(int index)
{
    if (index < 0 || index >= sheetCount)
        return;
    CommitEdit();
    previous = current;
    current = index;
    sheet = &sheets[std::size_t(index)];
    dirty |= DirtyFrame | DirtyView;
    Relayout();
    UpdateActiveCell();
}

void TabModel::Relayout()
{
    dirty |= DirtyRelayout | DirtyRepaint;
    if (!sheet)
        return;
    for (CAxe* axis : {&sheet->x, &sheet->y})
        axis->sliceIndex = resolveSlice(*axis);
    sheet->x.scrollPos = std::clamp(sheet->x.scrollPos, 0, std::max(sheet->x.count - shownCols(), 0));
    sheet->y.scrollPos = std::clamp(sheet->y.scrollPos, 0, std::max(sheet->y.count - shownRows(), 0));
}

int TabModel::shownCols() const { return sheet ? std::min(visibleCols, sheet->x.count) : 0; }
int TabModel::shownRows() const { return sheet ? std::min(visibleRows, sheet->y.count) : 0; }

void TabModel::RememberValues()
{
    for (int i = 0; i < sheetCount; ++i)
        for (CAxe* axis : {&sheets[std::size_t(i)].x, &sheets[std::size_t(i)].y})
            axis->prevValues = axis->values;
}

void TabModel::Tick()
{
    ++tick;
    if (!sheet)
        return;
    if (tick & 2)
        UpdateActiveCell();
    FlushPending();
}

std::string TabModel::ViewText(const CAxe& axis, int i, bool alternative) const
{
    if (i < 0 || i > axis.count || std::size_t(i) >= axis.values.size()) {
        lang::showError("Spatny index stringview >n");
        return {};
    }
    const int index = axis.values[std::size_t(i)] % 1000;
    // Eight texts exist: index 8 would already lie outside them.
    if (index < 0 || index >= MaxViewTexts) {
        lang::showError("Spatny index stringview >MAXSV");
        return {};
    }
    const bool useAlternative =
        alternative && std::any_of(axis.viewTextsAlt.begin(), axis.viewTextsAlt.end(), [](const auto& t) { return t.has_value(); });
    const auto& text = (useAlternative ? axis.viewTextsAlt : axis.viewTexts)[std::size_t(index)];
    if (!text) {
        lang::showError("Spatny stringview (part is NULL)");
        return {};
    }
    return std::string(lang::LangText(*text).pick());
}

}  // namespace curveeditor
