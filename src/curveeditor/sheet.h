#pragma once
// The data of the curve editor: axes, sheets and the selection of a sheet. Every value
// is a stored integer; the shown number is the stored value times the axis scale.
// Cell (column c, row r) lives at index r * MaxCols + c whatever the sheet's size.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "curveeditor/hitmap.h"

namespace curveeditor {

constexpr int MaxSheets = 8;
constexpr int MaxScaleSteps = 5;
constexpr int MaxViewTexts = 8;

inline int cellIndex(int col, int row) { return row * MaxCols + col; }

// Sheet option bits (CSheet::flags).
enum SheetFlags : unsigned {
    SheetLiveCell = 0x0001,
    SheetTransposed = 0x0002,
    SheetSwitchable = 0x0008,
    SheetPercentMode = 0x0010,
    SheetNoStartSegment = 0x0020,
    SheetLogSteps = 0x0040,
    SheetNoExtension = 0x0080,
    SheetBaseMarker = 0x0100,
    SheetLimiterMarker = 0x0200,
    SheetStartLimiterMarker = 0x0400,
    SheetSpinFastX = 0x1000,
    SheetSpinFastY = 0x2000,
    SheetSpinFastZ = 0x4000,
    SheetLargeUnit = 0x8000,
};

// Axis bits, used for `which` of DefineAxis, the parts of CheckSheet and of a change.
enum AxisBits : int { AxisX = 1, AxisY = 2, AxisZ = 4, AxisAll = 7, CheckAfresh = 0x100 };

// One scale step record, in display units (axis units times the axis scale).
struct TScaleStep {
    double threshold = 0;  // largest display span this record is used for
    double rangeUnit = 0;  // ranges are widened to whole multiples of it
    double gridStep = 0;
    double minorStep = 0;
    double labelStep = 0;
};

struct CAxe {
    std::uint32_t color = 0xFFFFFF;
    std::uint32_t auxColor = 0;
    std::string title;  // language text
    std::string label;  // short key, matched against the live inputs
    std::string unit;
    int showUnit = 0;
    int maxCount = 1;
    int minCount = 1;
    int count = 1;
    int sliced = 0;
    int sliceIndex = 0;
    int slicePos = -1;  // -1 beginning, -2 end, -3 centre, n >= 0 index n
    int editable = 1;
    int resizable = 1;
    int sliceMode = 1;  // 0 never sliced, 1 the user may choose, 2 always sliced
    int scrollPos = 0;
    std::vector<int> values;
    std::vector<std::uint8_t> marks;
    std::vector<int> prevValues;   // values after the last constraint check
    std::vector<int> savedValues;  // earlier values of neighbours pushed aside
    std::vector<int> pushed;
    double scale = 1.0;
    double quantum = 1.0;
    int minValue = 0;
    int maxValue = 100;
    int minStep = 1;
    int lastEdited = -3;  // -3: start afresh
    // String view: element i shows viewTexts[values[i] mod 1000] instead of a number.
    std::array<std::optional<std::string>, MaxViewTexts> viewTexts{};
    std::array<std::optional<std::string>, MaxViewTexts> viewTextsAlt{};
    std::vector<int> refValues;  // the reference curve drawn beside the values
    int refCount = 0;
    int numeric = 1;
    int groupMask = 0;
    int stepCount = 0;
    std::array<TScaleStep, MaxScaleSteps> steps{};
    TScaleStep step{};
    int rangeMin = 0, rangeMax = 0;
    int option3D = 0;
    int textSize = 0;

    // Allocates the arrays of an X or Y axis with `capacity` elements, zero-filled.
    void allocate(int capacity, bool withHistory);
    bool hasStringView() const;
};

// Selection of one sheet. Mark bits: 1 selected, 2 marked by the running gesture,
// 4 corner of the interpolation block.
enum MarkBits : std::uint16_t { MarkSelected = 1, MarkGesture = 2, MarkCorner = 4 };
// TSel::building bits besides the sections: where the gesture started.
enum GestureOrigin : int { GestureInTable = 0x100, GestureInGraph = 0x200 };

struct TSel {
    int building = 0;  // HitSection bits of the running gesture (+ GestureOrigin)
    int kind = 0;      // 0 nothing, 1 cells, 2 X headers, 4 Y headers
    std::array<std::uint16_t, MaxCols> colMarks{};
    std::array<std::uint16_t, MaxRows> rowMarks{};
    std::array<std::uint16_t, MaxCells> cellMarks{};
    int blockValid = 0;
    int blockLeft = -1, blockRight = -1, blockTop = -1, blockBottom = -1;
    int anchorX = -1, anchorY = -1, curX = -1, curY = -1;
    int firstCol = -2, firstRow = -2, lastCol = -2, lastRow = -2;
    int hitCol = -1, hitRow = -1, endCol = -1, endRow = -1;
    int count = 0;

    void Clear();
    // Starts a cell gesture (graph views).
    void StartCells(const THitMap& map, int x, int y, bool shift, bool ctrl);
    // Starts a gesture on whatever section lies under (x, y) (table view).
    void Start(const THitMap& map, int x, int y, bool shift, bool ctrl);
    // Marks the elements the drag rectangle touches; returns whether a mark changed.
    bool Extend(const THitMap& map, int x, int y, bool force);
    void Finish();
    void SelectOne(int col, int row);
    void SelectRange(int col, int row);
    int MarkAt(int col, int row) const;
    void UpdateBounds();
    // Whether (col, row) names a cell (both >= 0) or a header (one of them -1).
    static bool MarkAtValid(int col, int row);

private:
    void begin(const THitMap& map, int x, int y, bool shift, bool ctrl, int section);
    void findBlock();
};

struct CSheet {
    unsigned flags = 0;
    int enabled = 1;
    int hidden = 0;
    std::uint32_t color1 = 0x0000FF, color2 = 0x808080, color3 = 0xFF0000;
    std::string title;
    int tabWidth = 0;
    int titleSize = 13;
    int textSize = 12;
    CAxe x, y, z;
    int activeCol = -2;
    int activeRow = -2;
    int activeKind = 0;  // 0 none, 1 active, 2 on the curve not in use, -1 not in use
    std::array<int, 2> activeRowOfView{};
    TSel sel;
    // Percent mode: the cells are corrections of a base matrix.
    std::vector<int> baseMap, baseX, baseY, baseOnGrid, absValues;
    int baseXCount = 0, baseYCount = 0;
    int percentShown = 0;
    int linkId = 0;
    int followerOf = 0;

    int& cell(int col, int row) { return z.values[std::size_t(cellIndex(col, row))]; }
    int cell(int col, int row) const { return z.values[std::size_t(cellIndex(col, row))]; }
    CAxe& axis(int bit) { return bit == AxisX ? x : bit == AxisY ? y : z; }
    bool hasPercentArrays() const { return (flags & SheetPercentMode) && !baseMap.empty(); }
};

}  // namespace curveeditor
