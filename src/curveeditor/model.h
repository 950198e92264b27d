#pragma once
// The curve editor's model: up to eight sheets and every change the control makes to
// them. The TTab widget owns one TabModel, feeds it pointer and key decisions and its
// timer ticks, paints from it, and reads `dirty` to know what to redo. The model never
// paints; it tells its owner about finished changes through `onChanged` and shows error
// boxes through lang::showError.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "curveeditor/graph3d.h"
#include "curveeditor/inplaceedit.h"
#include "curveeditor/sheet.h"

namespace curveeditor {

// Keyed live values of the running engine, matched against an axis label.
struct LiveInputs {
    int rpm = 0;       // "RPM"
    int tp = 0;        // "TP"
    int iap = 0;       // "IAP"
    int ta = 0;        // "TA", and "Inlet Air" of string-view columns
    int tw = 0;        // "TW", and "Coolant"
    int tst = 0;       // "Tst"
    int afr = 0;       // "AFR"
};

// What the owning widget has to redo (TabModel::dirty).
enum DirtyBits : int {
    DirtyRepaint = 1,
    DirtyRelayout = 2,   // ranges, pixel tables, hit maps
    DirtyFrame = 4,      // margins and button bar
    DirtyView = 8,       // re-apply the requested view
    DirtyRenderNow = 16,  // render before returning to the event loop
    DirtyLiveSpeed = 32   // the live speed changed: a repaint where its line moves
};

enum ViewBits : int { ViewTable = 1, ViewGraph2D = 2, ViewGraph3D = 4, ViewCheckGrid = 8 };

// Creation options of the control.
enum ControlOptions : int {
    OptionButtonBar = 0x0001,
    OptionNoButtonBarDrawing = 0x0002,
    OptionTableView = 0x0010,
    OptionGraph2DView = 0x0020,
    OptionGraph3DView = 0x0040,
    OptionSingleCaption = 0x0100,
    OptionPositionButtons = 0x1000,
    OptionCheckGrid = 0x2000,
};

// Keys of the change group: a structural edit runs between these two.
constexpr int BeginKey = 0x8000000;
constexpr int EndKey = 0x9000000;

// How DefineAxis sets up an axis; `options` bit 0 numeric, bit 1 the 3D option.
struct AxisDefinition {
    std::string label;
    std::string unit;
    int minValue = 0;
    int maxValue = 100;
    double scale = 1.0;
    int minStep = 1;
    std::vector<TScaleStep> steps;  // read up to the first record whose grid step is 0
    int editable = 1;
    int options = 1;
    int minCount = 1;
    int count = 1;
    int sliceMode = 1;
    int sliced = 0;
    int resizable = 1;
    int slicePos = -1;
    int groupMask = 0;
    std::uint32_t color = 0xFFFFFF;
    std::uint32_t auxColor = 0;
};

// Spin buttons on the hovered table element (-1 for a header).
struct SpinState {
    int col = -1, row = -1;
    int shown = 0;
    int upPressed = 0, downPressed = 0;
};

enum Hint3D : int { Hint3DRotate = 1, Hint3DLegendWheel = 2 };

// The part of the graph state that the layout computes (the views add their pixel tables).
struct TTabGraph {
    int kind = 3;  // 1 one row against X, 2 one column against Y, 3 a family of rows
    CAxe* first = nullptr;
    CAxe* second = nullptr;
    CAxe* value = nullptr;
    CAxe* horizontal = nullptr;
    CAxe* family = nullptr;
    int curveCount = 1;
    int curveStep = 0;    // stacked-curve step, value units
    int firstRowMax = 0;  // value units
    int valueTop = 0;
    THitMap hitMap;
    // 3D graph.
    Angles3D angles;
    int colourMode = 5;  // 0 wire model, 1 one colour, 2 .. 5 height colours of grain 0 .. 3
    int labelMode = 0;   // 0 no values, 1 the active value, 2 interesting values, 3 all values
    int legendWidth = 140;
    int hints3D = Hint3DRotate | Hint3DLegendWheel;  // hints the user has not acted on yet
    Projection3D projection;
    // Check grid: 1 areas sized by the axis values, 0 all areas the same size.
    int proportional = 1;
};

class TabModel {
public:
    explicit TabModel(int options = OptionButtonBar | OptionTableView);
    TabModel(const TabModel&) = delete;
    TabModel& operator=(const TabModel&) = delete;

    // Sheets and axes.
    int AddSheet(std::string_view title, std::string_view xTitle, std::string_view yTitle, std::string_view zTitle,
                 int maxColumns, int maxRows, unsigned flags);
    void SetSheetTitle(int index, std::string_view title);
    void DefineAxis(int index, int which, const AxisDefinition& definition);
    void SelectSheet(int index);
    void CheckSheet(CSheet& s, int parts);
    int FindLiveIndex(const CAxe& axis);
    void UpdateActiveCell();
    // Text of element i of a string-view axis in the current language; errors are shown
    // in the error box and give no text.
    std::string ViewText(const CAxe& axis, int i, bool alternative = false) const;
    // Takes the current X and Y values of every sheet as checked, so that values loaded
    // from outside are not taken for an edit by the next constraint check.
    void RememberValues();
    // Slice indexes and scroll clamps of the current sheet; raises DirtyRelayout.
    void Relayout();
    // One timer tick: the active cell every second tick, then the deferred announcement.
    void Tick();

    // Change group.
    void Change(int parts, int key);
    void FlushPending();

    // Value steps and in-place entry.
    int StepValue(int col, int row, int delta) const;
    void Increment(int delta);
    void SpinStep(int delta);
    // Steps one cell alone, whether it is selected or not.
    void StepCell(int col, int row, int delta);
    // The 3D graph's angles, wrapped into -35 .. 36; a change asks for a relayout.
    void SetAngles(Angles3D angles);
    void StartEdit(int col, int row, bool empty);
    void CommitEdit();

    // Structure and block edits; `columns` false works on rows.
    bool InsertAt(bool columns, int position);
    bool RemoveAt(bool columns, int position);
    void DeleteSelected(bool columns);
    void Interpolate();
    void ApplyDrag(int mode, int c0, int r0, int c1, int r1);

    // Scrolling and the keyboard cursor; an index above 9000 means index - 10000.
    void ScrollBy(int dc, int dr);
    void ScrollToCell(int col, int row);
    void ScrollToSelection();
    int MoveCursor(int dc, int dr, bool extend);

    // The numbered commands that need no painting; `argument` is the pressed state of
    // buttons 10 to 12 and the scrollbar position of 1001 and 1002. Returns whether the
    // command is one of them.
    bool RunCommand(int command, int argument = 0);

    // Scales of the graph views.
    int GraphKind() const;
    void AxisSpan(int which, int& min, int& max) const;
    void ValueSpan(int& min, int& max, int& step, int& first) const;
    void ComputeAxisRanges();

    // Shown columns and rows of the current sheet (its count when smaller).
    int shownCols() const;
    int shownRows() const;

    // Model state.
    std::array<CSheet, MaxSheets> sheets{};
    int sheetCount = 0;
    int current = -1;
    int previous = -1;
    CSheet* sheet = nullptr;
    int baseValue = 0;    // shown units of Z
    int limitValue1 = 0;  // limiter speed, shown units of X
    int limitValue2 = 0;  // start limiter speed
    LiveInputs live;
    int liveFlags = 0;  // bit 0 curve in use; bits 4, 5 load axis of curve 0 / 1 is "IAP"
    std::uint8_t liveInvalid = 0;  // bit 1 no "TP", bit 2 no "IAP"
    std::uint8_t liveOff = 0;      // bit 0 live values off

    // Control state the model reads or keeps for the widget.
    int options;
    int visibleCols = 15, visibleRows = 10;
    int requestedView = ViewTable;
    int viewBits = ViewTable;
    int* autoscroll = nullptr;  // shared by all editors of the window; the context menu sets it
    int dirty = 0;
    int tick = 0;
    int positionChoice = 0;  // buttons 20 to 22
    TTabGraph graph;

    // Change group.
    int pendingParts = 0;
    int pendingKey = 0;
    int flushAt = 0;
    std::array<int, MaxCells> scratch{};

    SpinState spin;
    InPlaceEdit edit;

    // Called once for every announced change.
    std::function<void(TabModel&)> onChanged;
    // Width in pixels of a text at a font size; the widget installs its font metrics.
    std::function<int(std::string_view text, int size)> measureText;

private:
    void announce();
    void insertSlot(CSheet& s, bool columns, int position);
    void removeSlot(CSheet& s, bool columns, int position);
    void forEachFollower(const CSheet& leader, const std::function<void(CSheet&)>& action);
    void selectNewSlot(bool columns, int position);
    void checkMarkers(const CSheet& s);
    void updateStringViewRows();
    int lastLiveRpm_ = 0;
};

// Percent mode: the base matrix resampled onto the sheet's axes, and the absolute values.
void ResampleBase(CSheet& s);
void ConvertPercent(CSheet& s);

// The 1 % step table shared by all controls: entry i = 100 * 1.01^i.
const std::array<float, 1200>& PercentStepTable();

}  // namespace curveeditor
