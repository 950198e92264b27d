#pragma once
// What the painters of the curve editor share besides the model: the control's size and
// colour set, the frame (margins, buttons), the table geometry with its two hit maps and
// hover states, and the 2D graph's pixel tables. The TTab widget owns one TabView and
// lays it out; the painters read it and the input handlers write its hover states.

#include <QColor>
#include <array>
#include <cstdint>
#include <string>

#include "curveeditor/hitmap.h"

namespace curveeditor::views {

// Colours are 0x00BBGGRR values.
inline QColor colour(std::uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

struct Colours {
    std::uint32_t control = 0xF0F0F0;
    std::uint32_t bevelLight = 0xFFFFFF;
    std::uint32_t bevelDark = 0xC0C0C0;
    std::uint32_t grid = 0xE4D6D4;
    std::uint32_t selection = 0xF4EEEC;
    std::uint32_t editSelection = 0xFF8844;
    std::uint32_t headerPartly = 0xC0C0C0;
    std::uint32_t headerFull = 0x808080;
    std::uint32_t corner = 0x88F444;
    std::uint32_t cornerHover = 0x00AAAA;
    std::uint32_t active1 = 0x44F444;
    std::uint32_t active2 = 0x44F4F4;

    std::uint32_t activeOfKind(int kind) const { return kind == 1 ? active1 : active2; }
};

// Buttons of the frame; a button's index is the command it runs.
constexpr int ButtonSlots = 30;
enum ButtonFlags : int { ButtonToggle = 1, ButtonDrawDisabled = 2 };
enum ButtonState : int { ButtonShown = 1, ButtonTableOnly = 0x10, ButtonUnclickable = 0x80 };

struct TButton {
    int flags = 0;
    int state = 0;  // 0 disabled; bit 0 every view; bits 4..6 only that requested view; bit 7 not clickable
    int left = 0, top = 0, right = 0, bottom = 0;
    int down = 0;
    int hover = 0;
    std::string icon;  // name of the glyph painted for it (the bitmap names)
    std::uint32_t backColor = 0xF0F0F0;
    std::string caption;
    std::string hint;  // language text

    bool contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};

// Table geometry; every pixel position is trunc(cellsLeft + k * cellWidth) and the like.
struct TableGeometry {
    int gridLeft = 10, gridTop = 10;
    int rowHeaderWidth = 65, gap = 15, headerHeight = 20;
    int cellsLeft = 0, cellsTop = 0;
    double cellWidth = 40, cellHeight = 20;
    int shownCols = 0, shownRows = 0;
    int firstCol = 0, firstRow = 0;
    THitMap full, visible;

    int colX(int k) const { return int(cellsLeft + k * cellWidth); }  // k shown columns from the left
    int rowY(int l) const { return int(cellsTop + l * cellHeight); }
    int right() const { return colX(shownCols); }
    int bottom() const { return rowY(shownRows); }
};

// Hover and gesture state of the table view.
struct TableState {
    int fillHandle = 0, blockEdge = 0, cornerHover = 0;
    int dragMode = 0;  // 1 fill drag, 2 move drag
    int dragStartX = 0, dragStartY = 0;
    int targetC0 = 0, targetR0 = 0, targetC1 = 0, targetR1 = 0;
    int spinLeft = 0, spinTop = 0, spinHeight = 0;  // spin buttons of model.spin, 15 wide
    int spinHalf = 0;                                // 0 none, 1 up, 2 down under the pointer
    int spinTicks = 0;                               // ticks the half has been held
    int spinRepeated = 0;
    int editSelecting = 0;
    std::array<int, 17> charX{};  // x of every character boundary of the edit text
    int editTextX = 0, editTextTop = 0, editTextHeight = 0;
};

// Hovered items of the 2D graph besides points (curve * 50 + point).
enum GraphItem : int { GraphStartPoint = -1, GraphLimiter = -2, GraphStartLimiter = -3, GraphNothing = -100 };

struct Graph2DState {
    int areaLeft = 10, areaRightMargin = 27, areaTop = 10, areaBottomMargin = 27;
    int plotLeft = 0, plotBottom = 0, plotWidth = 0, plotHeight = 0;
    double scaleX = 1, scaleY = 1;  // pixels per horizontal unit and per value unit
    int hMin = 0, hMax = 1, vMin = 0, vTop = 1;
    int currentCurve = 0, curveCount = 1;
    int hStride = 1, fStride = 50, sliceOffset = 0;
    std::array<int, 1500> px{}, py{};        // curve * 50 + point
    std::array<int, 1500> refX{}, refY{};
    std::array<int, 50> startY{};
    int refPoints = 0;
    int hovered = GraphNothing;
    int dragging = 0;
    int dragCurve = 0;
    int grabX = 0, grabY = 0;
    int dragH = 0, dragV = 0;
    int dragChanged = 0;
    int banding = 0;  // rubber-band selection running
    int shiftDown = 0, ctrlDown = 0;  // modifiers the hover mark shows a drag with
    int liveX = -1;  // the column where the last paint drew the live speed line, -1 for none

    int plotRight() const { return plotLeft + plotWidth; }
    int plotTop() const { return plotBottom - plotHeight; }
    bool areaContains(int x, int y, int width, int height) const
    {
        return x >= areaLeft && x <= width - areaRightMargin && y >= areaTop && y <= height - areaBottomMargin;
    }
};

// Pointer state of the 3D graph; the projection itself lives in the model's graph state.
struct Graph3DState {
    int rotating = 0;
    int startX = 0, startY = 0;  // pointer when the rotation started
    int startAngleX = 0, startAngleXY = 0;
};

// Hovered items of the check grid: a column boundary i is 50 + i, a row boundary j 100 + j.
enum CheckGridItem : int { CheckGridColumn = 50, CheckGridRow = 100, CheckGridNothing = -100 };

// Plot and boundary pixels of the check grid (its hit map is the model's graph hit map).
struct CheckGridState {
    int plotLeft = 0, plotTop = 0, plotWidth = 0, plotHeight = 0;
    double scaleX = 1, scaleY = 1;  // pixels per unit (proportional) or per area
    int columns = 0, rows = 0;      // boundaries: the X and Y counts, 0 on a sliced axis
    std::array<int, 50> boundaryX{};
    std::array<int, 30> boundaryY{};
    int hovered = CheckGridNothing;
    int dragging = 0;  // a boundary follows the pointer
    int grab = 0;      // pointer - boundary when the drag started
    int dragChanged = 0;
    int banding = 0;   // a rectangle is being dragged
    int styleBoxLeft = 0, styleBoxTop = 0;  // the 10 x 10 proportional / non-proportional switch

    int plotRight() const { return plotLeft + plotWidth; }
    int plotBottom() const { return plotTop + plotHeight; }
    int areaColumns() const { return columns + 1; }
    int areaRows() const { return rows + 1; }
    // Pixel span of area column i and area row j, borders included.
    int areaLeft(int i) const { return i == 0 ? plotLeft : boundaryX[std::size_t(i - 1)]; }
    int areaRight(int i) const { return i == columns ? plotRight() : boundaryX[std::size_t(i)]; }
    int areaTop(int j) const { return j == 0 ? plotTop : boundaryY[std::size_t(j - 1)]; }
    int areaBottom(int j) const { return j == rows ? plotBottom() : boundaryY[std::size_t(j)]; }
};

struct TabView {
    int width = 500, height = 200;
    int pixelsPerInch = 96;
    Colours colours;
    int printing = 0;
    int focused = 0;
    int caretVisible = 0;
    // Frame.
    int leftMargin = 10, topMargin = 10, rightMargin = 27, bottomMargin = 27;
    int buttonRow = 5;
    std::array<TButton, ButtonSlots> buttons{};
    int buttonCount = 0;
    int hoverTab = 0;  // sheet index + 1
    int selectionHasEditable = 0;
    // Views.
    TableGeometry table;
    TableState tableState;
    Graph2DState graph;  // its area fields place every graph view
    Graph3DState graph3D;
    CheckGridState checkGrid;
    std::array<int, 1500> preview{};  // the value table with the interpolation block filled in
    std::array<int, 50> previewHeaders{};  // X or Y values with a block of those headers filled in
};

}  // namespace curveeditor::views
