// The clipboard texts of the curve editor: what copy writes, how plain and sheet texts
// are read back, and what malformed texts do.

#include "curvefixture.h"
#include "curveeditor/clipboardtext.h"
#include "lang/langtext.h"
#include "support/messageboxrecorder.h"

using namespace curveeditor;

namespace {

class LanguageScope {
public:
    explicit LanguageScope(int language) : previous_(lang::currentLanguage()) { lang::setCurrentLanguage(language); }
    ~LanguageScope() { lang::setCurrentLanguage(previous_); }

private:
    int previous_;
};

// Curve A reduced to three points: 1 500, 3 000 and 12 000 rpm at 10, 20 and 30 degrees.
class ClipboardCurve : public CurveFixture {
protected:
    ClipboardCurve()
    {
        const int speedsA[] = {15, 30, 120}, advancesA[] = {10, 20, 30};
        a().x.count = 3;
        for (int i = 0; i < 3; ++i) {
            a().x.values[std::size_t(i)] = speedsA[i];
            a().cell(i, 0) = advancesA[i];
        }
        model.RememberValues();
    }
    void selectXHeader(int col) { model.sheet->sel.SelectOne(col, -1); }
    void selectCell(int col) { model.sheet->sel.SelectOne(col, 0); }
};

// A map of 4 speeds x 3 loads with tenths in its cells, nothing sliced.
class ClipboardMap : public ::testing::Test {
protected:
    ClipboardMap()
    {
        sheet = model.AddSheet("###Map##Kennfeld##Mapa", "RPM", "TP", "Fuel", 6, 4, 0);
        AxisDefinition x;
        x.label = "RPM";
        x.scale = 100;
        x.minValue = 0;
        x.maxValue = 200;
        x.count = 4;
        x.minCount = 2;
        AxisDefinition y = x;
        y.label = "TP";
        y.scale = 1;
        y.count = 3;
        AxisDefinition z;
        z.label = "INJ";
        z.scale = 0.1;
        z.maxValue = 1000;
        model.DefineAxis(sheet, AxisX, x);
        model.DefineAxis(sheet, AxisY, y);
        model.DefineAxis(sheet, AxisZ, z);
        model.SelectSheet(sheet);
        CSheet& s = *model.sheet;
        for (int c = 0; c < 4; ++c)
            s.x.values[std::size_t(c)] = 10 * (c + 1);
        for (int r = 0; r < 3; ++r) {
            s.y.values[std::size_t(r)] = 20 * r;
            for (int c = 0; c < 4; ++c)
                s.cell(c, r) = 100 * r + 10 * c + 5;  // 0.5, 1.5 ... 23.5
        }
        model.RememberValues();
    }
    CSheet& s() { return *model.sheet; }

    TabModel model;
    int sheet = -1;
};

TEST_F(ClipboardCurve, CopyTableWritesTheShownRowAndTheWholeSheet)
{
    const ClipboardTexts t = CopyTableTexts(model);
    EXPECT_EQ(t.plain, "1 500\t3 000\t12 000\n10\t20\t30");
    EXPECT_EQ(t.sheet,
              "Label:\t###Advance A##Vorzündung A##Předstih A\nLabelX:\tRPM\nLabelY:\t\nLabelData:\tADV\n"
              "SizeX:\t3\nSizeY:\t1\nOnlyXY:\tY\n\t1 500\t3 000\t12 000\n0\t10\t20\t30");
}

TEST_F(ClipboardCurve, CopyTableOfAToBTakesItsPointCountSpeedsAndAdvances)
{
    const ClipboardTexts t = CopyTableTexts(model);
    model.SelectSheet(CurveSheetB);
    ASSERT_EQ(model.sheet->x.count, 15);
    EXPECT_TRUE(PasteTexts(model, ClipboardText | ClipboardSheet, t.plain, t.sheet));
    EXPECT_EQ(model.sheet->x.count, 3);
    EXPECT_EQ(speeds(), (std::vector<int>{15, 30, 120}));
    EXPECT_EQ((std::vector<int>{advance(0), advance(1), advance(2)}), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(model.sheet->sel.count, 0);
    EXPECT_EQ(announcedAt.size(), 1u);
}

TEST_F(ClipboardCurve, PlainTextIntoTheSelection)
{
    struct Case {
        const char* text;
        bool header;  // into the first X header, else into the first cell
        std::vector<int> speeds, advances;
    };
    const Case cases[] = {
        {"1 500\t3 000", true, {15, 30, 120}, {10, 20, 30}},
        {"4 000", true, {40, 41, 120}, {10, 20, 30}},  // one space and three digits: one number; the next speed gives way
        {"1 5000", true, {3, 50, 120}, {10, 20, 30}},  // two fields; 1 rpm is held at the lowest speed
        {"{5,10,15}", false, {15, 30, 120}, {5, 10, 15}},
        {"{{7, 8}}", false, {15, 30, 120}, {7, 8, 30}},
        {"60000", false, {15, 30, 120}, {60, 20, 30}},  // a thousand times too large
        {"12,5\tx\t-3", false, {15, 30, 120}, {13, 20, 0}},  // "x" is skipped but counts, -3 is held at 0
        {"9\t9\t9\t9\t9\n1\t1", false, {15, 30, 120}, {9, 9, 9}},  // nothing beyond the sheet
        {"25  26\r\n", false, {15, 30, 120}, {25, 26, 30}},
    };
    for (const Case& c : cases) {
        a().x.values[0] = 15, a().x.values[1] = 30, a().x.values[2] = 120;
        advance(0) = 10, advance(1) = 20, advance(2) = 30;
        model.RememberValues();
        c.header ? selectXHeader(0) : selectCell(0);
        EXPECT_TRUE(PastePlainText(model, c.text)) << c.text;
        EXPECT_EQ(speeds(), c.speeds) << c.text;
        EXPECT_EQ((std::vector<int>{advance(0), advance(1), advance(2)}), c.advances) << c.text;
    }
}

TEST_F(ClipboardCurve, PastedElementsBecomeTheSelectionInOneChange)
{
    selectCell(1);
    EXPECT_TRUE(PastePlainText(model, "21\t22"));
    EXPECT_EQ(model.sheet->sel.kind, 1);
    EXPECT_EQ(model.sheet->sel.firstCol, 1);
    EXPECT_EQ(model.sheet->sel.lastCol, 2);
    EXPECT_EQ(model.sheet->sel.count, 2);
    EXPECT_EQ(announcedAt.size(), 1u);
}

TEST_F(ClipboardCurve, PlainPasteNeedsAnEditableTarget)
{
    EXPECT_FALSE(PastePlainText(model, "5"));  // nothing selected
    model.sheet->sel.SelectOne(-1, 0);          // the Y header of the curve is fixed
    EXPECT_FALSE(PastePlainText(model, "5"));
    selectCell(0);
    model.sheet->z.editable = 0;
    EXPECT_FALSE(PastePlainText(model, "5"));
    EXPECT_EQ(advance(0), 10);
    EXPECT_TRUE(announcedAt.empty());
}

TEST_F(ClipboardCurve, PasteWhileEditingInsertsWhatFitsInSixteenCharacters)
{
    model.StartEdit(0, 0, false);  // "10"
    model.edit.select(0, 1);       // "1" selected
    EXPECT_TRUE(PastePlainText(model, "abc1 234,5678901234567\t99"));
    EXPECT_EQ(model.edit.text, "1 234.5678901230");
    EXPECT_EQ(model.edit.caret, 15);
    EXPECT_EQ(advance(0), 10);  // nothing written until the entry is committed
}

TEST_F(ClipboardCurve, CopySelectionWritesSelectedValuesAndGaps)
{
    model.sheet->sel.SelectOne(0, 0);
    model.sheet->sel.cellMarks[std::size_t(cellIndex(2, 0))] = MarkSelected;
    model.sheet->sel.UpdateBounds();
    EXPECT_EQ(CopySelectionText(model), "10\t\t30");
    selectXHeader(1);
    EXPECT_EQ(CopySelectionText(model), "3 000");
    model.sheet->sel.Clear();
    EXPECT_EQ(CopySelectionText(model), "");
    model.StartEdit(2, 0, false);
    model.edit.select(0, 1);
    EXPECT_EQ(CopySelectionText(model), "3");
}

TEST_F(ClipboardCurve, CzechUsersWriteAndReadDecimalCommas)
{
    LanguageScope czech(lang::Czech);
    model.sheet->x.scale = 0.5;  // speeds in halves: 7.5 ...
    selectXHeader(0);
    EXPECT_EQ(CopySelectionText(model), "7,5");
    EXPECT_TRUE(PastePlainText(model, "12,5"));
    EXPECT_EQ(speed(0), 25);
}

TEST_F(ClipboardMap, SheetTextRoundTripsThroughAResizedMap)
{
    const ClipboardTexts t = CopyTableTexts(model);
    EXPECT_EQ(t.plain, "\t1 000\t2 000\t3 000\t4 000\n0\t0.5\t1.5\t2.5\t3.5\n20\t10.5\t11.5\t12.5\t13.5\n40\t20.5\t21.5\t22.5\t23.5");
    const std::vector<int> before(s().z.values.begin(), s().z.values.end());
    s().x.count = 2;
    s().y.count = 2;
    for (int& v : s().z.values)
        v = 0;
    EXPECT_TRUE(PasteSheetText(model, t.sheet));
    EXPECT_EQ(s().x.count, 4);
    EXPECT_EQ(s().y.count, 3);
    EXPECT_EQ(std::vector<int>(s().z.values.begin(), s().z.values.end()), before);
    EXPECT_EQ(s().y.values[2], 40);
}

TEST_F(ClipboardMap, SlicedAxesShrinkThePlainTextButNotTheSheetText)
{
    s().x.sliced = 1;
    model.Relayout();  // slice at the first column
    const ClipboardTexts t = CopyTableTexts(model);
    EXPECT_EQ(t.plain, "0\t0.5\n20\t10.5\n40\t20.5");
    EXPECT_NE(t.sheet.find("OnlyXY:\tX\n\t1 000\t2 000\t3 000\t4 000\n0\t0.5\t1.5"), std::string::npos);
}

TEST_F(ClipboardMap, MalformedSheetTexts)
{
    struct Case {
        const char* name;
        std::string text;
        bool pasted;
        int boxes;
    };
    const std::string labels = "LabelX:\tRPM\nLabelY:\tTP\nLabelData:\tINJ\n";
    const Case cases[] = {
        {"empty", "", false, 0},
        {"no labels match", "LabelX:\tAFR\nSizeX:\t4\nSizeY:\t3\n\t1\t2\n0\t99", false, 0},
        {"no sizes", labels + "\t1\t2\n0\t99", false, 0},
        {"zero size", labels + "SizeX:\t0\nSizeY:\t3\n\t1\n0\t99", false, 0},
        {"Y rows fixed", labels + "SizeX:\t4\nSizeY:\t2\n\t1\n0\t99", false, 1},
        {"only Z matches, other width", "LabelData:\tINJ\nSizeX:\t5\nSizeY:\t3\n\t\n0\t99", false, 1},
        {"garbage grid", labels + "SizeX:\t4\nSizeY:\t3\n\tx\t\t\t\n\n\n\n\n\t\t\t\t\t\t\t\t\n\x01\x02", false, 0},
        {"grown by one changed speed", labels + "SizeX:\t6\nSizeY:\t3\n\t\t500\n0\t77", true, 0},
        {"huge width clamped", labels + "SizeX:\t99999999999999\nSizeY:\t3\n\t\n0\t77", true, 0},
        {"long title does not end the header",
         "Label:\t" + std::string(200, 'T') + "\n" + labels + "SizeX:\t4\nSizeY:\t3\n\t\n0\t77", true, 0},
        {"no grid", labels + "SizeX:\t4\nSizeY:\t3\n", false, 0},
    };
    for (const Case& c : cases) {
        s().y.resizable = 0;
        MessageBoxRecorder boxes;
        EXPECT_EQ(PasteSheetText(model, c.text), c.pasted) << c.name;
        EXPECT_EQ(int(boxes.boxes.size()), c.boxes) << c.name;
        EXPECT_LE(s().x.count, 6) << c.name;
        for (int i = 1; i < s().x.count; ++i)  // columns added by the paste are ordered too
            EXPECT_LT(s().x.values[std::size_t(i - 1)], s().x.values[std::size_t(i)]) << c.name << " " << i;
        EXPECT_EQ(s().y.count, 3) << c.name;
        if (c.pasted)
            EXPECT_EQ(s().cell(0, 0), 770) << c.name;
        else
            EXPECT_EQ(s().cell(0, 0), 5) << c.name;
        s().x.count = 4;
        s().cell(0, 0) = 5;
    }
}

TEST(ClipboardHeader, KeysAreReadUpToTheCornerLine)
{
    CSheet s;
    s.x.label = "RPM";
    s.z.label = "ADV";
    const SheetTextHeader h =
        ParseSheetHeader(s, "noise\nLabelX:\tRPM\r\nLabelData:\tADV\nSizeX:\t0x10\nSizeY:\t2\nOnlyXY:\tX\n\t1\nSizeX:\t3");
    EXPECT_EQ(h.matched, AxisX | AxisZ);
    EXPECT_EQ(h.sizeX, 16);
    EXPECT_EQ(h.sizeY, 2);
    EXPECT_TRUE(h.onlyX);
    EXPECT_FALSE(h.onlyY);
}

}  // namespace
