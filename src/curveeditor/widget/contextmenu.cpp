// The popup menu of a right click: rebuilt every time from the sheet, the selection, the
// clipboard, the view and the element under the pointer. Items run numbered commands,
// structural edits or set a view option.

#include <QAction>

#include "curveeditor/clipboardtext.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/views/primitives.h"
#include "curveeditor/widget/tab.h"
#include "lang/langtext.h"

namespace curveeditor {
namespace {

QString text(std::string_view langText) { return views::qtext(lang::LangText(langText).pick()); }

QString joined(std::initializer_list<std::string_view> langTexts)
{
    QString out;
    for (std::string_view part : langTexts) {
        if (!out.isEmpty())
            out += ' ';
        out += text(part);
    }
    return out;
}

QAction* addItem(QMenu& menu, const QString& caption, std::function<void()> run)
{
    QAction* action = menu.addAction(caption);
    QObject::connect(action, &QAction::triggered, &menu, std::move(run));
    return action;
}

void tick(QAction* action, bool on)
{
    action->setCheckable(true);
    action->setChecked(on);
}

bool axisElementSelected(const CSheet& s, bool column, int index)
{
    const CAxe& across = column ? s.y : s.x;
    bool any = false;
    for (int k = 0; k < across.count; ++k) {
        if (across.sliced && k != across.sliceIndex)
            continue;
        any = true;
        const int mark = column ? s.sel.MarkAt(index, k) : s.sel.MarkAt(k, index);
        if (!(mark & MarkSelected))
            return false;
    }
    return any;
}

int fullySelected(const CSheet& s, bool columns)
{
    const CAxe& along = columns ? s.x : s.y;
    if (along.sliced)
        return 0;
    int n = 0;
    for (int i = 0; i < along.count; ++i)
        n += axisElementSelected(s, columns, i) ? 1 : 0;
    return n;
}

int allowedViewCount(int options)
{
    int n = 0;
    for (int option : {OptionTableView, OptionGraph2DView, OptionGraph3DView})
        n += (options & option) ? 1 : 0;
    return n;
}

}  // namespace

QMenu* TTab::BuildMenu(int x, int y)
{
    menu_->clear();
    menuX_ = x;
    menuY_ = y;
    if (!model.sheet)
        return menu_;
    QMenu& menu = *menu_;
    const CSheet& s = *model.sheet;
    const bool enabled = s.enabled != 0;
    const bool onTab = views::TabAt(model, x, y) != 0;
    const bool editableSelection = views::SelectionHasEditable(s);
    const bool anyEditable = s.x.editable || s.y.editable || s.z.editable;
    const int clip = ClipboardState();
    const bool sheetHeld = clip & ClipboardSheet;
    const bool inTableHere = !onTab && TableContains(x, y);
    const bool inGraphHere = !onTab && GraphContains(x, y);

    bool copy = model.edit.editing ? model.edit.hasSelection() : s.sel.count > 0;
    bool paste = sheetHeld ? anyEditable : (clip & ClipboardText) && editableSelection;
    bool copyTable = copy || inGraphHere;
    if (onTab) {
        copy = false;
        copyTable = true;
        paste = sheetHeld && anyEditable;
    }
    const bool copyGraph = inGraphHere;
    // A tab limits only the copy, paste, insert and delete items; a block of the sheet
    // can still be interpolated from there.
    const bool interpolate = editableSelection && s.sel.blockValid;

    if (s.flags & SheetSwitchable) {
        const char* verb = enabled ? "###Disable ##Deaktivieren ##Zakázat " : "###Enable ##Aktivieren ##Povolit ";
        addItem(menu, text(verb) + ' ' + text(s.title), [this] { RunCommand(19); });
        menu.addSeparator();
    }
    if (enabled) {
        if (copy)
            addItem(menu, text("###Copy##Kopieren##Kopírovat"), [this] { RunCommand(0); });
        if (copyTable)
            addItem(menu, text("###Copy the entire table##Tabelle kopieren##Kopírovat celou tabulku"), [this] { RunCommand(1); });
        if (copyGraph)
            addItem(menu, text("###Copy graph##Chart kopieren##Kopírovat graf"), [this] { RunCommand(CmdCopyGraph); });
        if (paste)
            addItem(menu, sheetHeld ? text("###Paste table##Tabelle einfügen##Vložit tabulku") : text("###Paste##Einfügen##Vložit"),
                    [this] { RunCommand(2); });
        if (copy || copyTable || copyGraph || paste)
            menu.addSeparator();
        if (interpolate) {
            addItem(menu, text("###Interpolate##Interpolieren##Interpolovat"), [this] { RunCommand(101); });
            menu.addSeparator();
        }
        if (!onTab && (model.requestedView & ViewTable))
            AddInsertDeleteItems(menu, x, y);
    }
    const bool moreThanShown = (!s.x.sliced && s.x.count > model.shownCols()) || (!s.y.sliced && s.y.count > model.shownRows());
    if (model.autoscroll && inTableHere && (model.options & OptionButtonBar) && moreThanShown) {
        menu.addSeparator();
        int* flag = model.autoscroll;
        tick(addItem(menu, text("###Autoscroll actual position##Autoscroll aktuelle Position##Automaticky posunovat na aktuální polohu"),
                     [flag] { *flag = 1; }),
             *flag != 0);
        tick(addItem(menu, text("###Disable autoscroll##Deaktivieren Autoscroll##Zakázat automatické posunování"), [flag] { *flag = 0; }),
             *flag == 0);
    }
    if ((model.viewBits & ViewGraph3D) && inGraphHere)
        AddGraph3DItems(menu);
    AddViewItems(menu);
    return menu_;
}

void TTab::AddInsertDeleteItems(QMenu& menu, int x, int y)
{
    const CSheet& s = *model.sheet;
    int col = -2, row = -2;
    const int bits = HitSections(view.table.visible, x, y, col, row);
    if (!bits)
        return;
    bool insertColumn = false, insertRow = false;
    if (bits & HitCell) {
        insertColumn = !s.x.sliced && axisElementSelected(s, true, col);
        insertRow = !s.y.sliced && axisElementSelected(s, false, row);
    }
    insertColumn = insertColumn || (bits & HitColStrip) || s.sel.kind == 2;
    insertRow = insertRow || (bits & HitRowStrip) || s.sel.kind == 4;
    int columns = s.sel.kind == 1 ? fullySelected(s, true) : s.sel.kind == 2 ? s.sel.count : 0;
    int rows = s.sel.kind == 1 ? fullySelected(s, false) : s.sel.kind == 4 ? s.sel.count : 0;
    if (bits & HitColStrip)
        rows = 0;
    if (bits & HitRowStrip)
        columns = 0;
    if (columns == s.x.count)  // all cannot go
        columns = 0;
    if (rows == s.y.count)
        rows = 0;
    if (!s.x.resizable)
        insertColumn = false, columns = 0;
    if (!s.y.resizable)
        insertRow = false, rows = 0;

    // The border nearest the pointer when the menu opened; nothing on a sliced axis.
    const auto insertAt = [this](bool atColumns) {
        CSheet& sheet = *model.sheet;
        const CAxe& axis = atColumns ? sheet.x : sheet.y;
        int c = -2, r = -2;
        if (axis.sliced || !HitSections(view.table.visible, menuX_, menuY_, c, r))
            return;
        const views::TableGeometry& g = view.table;
        const double size = atColumns ? g.cellWidth : g.cellHeight;
        const int offset = atColumns ? menuX_ - g.cellsLeft : menuY_ - g.cellsTop;
        const int position = int((offset + size / 2) / size) + axis.scrollPos;
        model.InsertAt(atColumns, position);
        model.dirty |= DirtyFrame | DirtyRepaint;
        Refresh();
    };
    const auto remove = [this](bool atColumns) {
        model.DeleteSelected(atColumns);
        model.dirty |= DirtyFrame | DirtyRepaint;
        Refresh();
    };
    if (insertRow)
        addItem(menu, text("###Insert row here##Einfügen einer Zeile##Vložit řádek (zde)"), [insertAt] { insertAt(false); });
    if (insertColumn)
        addItem(menu, text("###Insert column here##Einfügen hier Spalte##Vložit sloupec (zde)"), [insertAt] { insertAt(true); });
    if (rows > 0)
        addItem(menu,
                rows == 1 ? text("###Delete row##Klare Zeile##Vymazat řádek")
                          : QStringLiteral("%1 (%2)").arg(text("###Delete rows##Klare Linien##Vymazat řádky")).arg(rows),
                [remove] { remove(false); });
    if (columns > 0)
        addItem(menu,
                columns == 1 ? text("###Delete column##Spalte löschen##Vymazat sloupec")
                             : QStringLiteral("%1 (%2)").arg(text("###Delete columns##Löschen von Spalten##Vymazat sloupce")).arg(columns),
                [remove] { remove(true); });
}

void TTab::AddGraph3DItems(QMenu& menu)
{
    static constexpr const char* presets[] = {"###Top view##Aufsicht##Pohled seshora", "###ISO1 view##ISO1 Ansicht##Pohled ISO1",
                                              "###ISO2 view##ISO2 Ansicht##Pohled ISO2"};
    static constexpr const char* colourModes[] = {
        "###Wire model##Draht-Modell##Drátěný model", "###One color graph##Ein Farb-Kurve##Jednobarevný graf",
        "###Height colors (grain 0)##Höhe Farben (Korn 0)##Výškové barvy (zrno 0)",
        "###Height colors (grain 1)##Höhe Farben (Korn 1)##Výškové barvy (zrno 1)",
        "###Height colors (grain 2)##Höhe Farben (Korn 2)##Výškové barvy (zrno 2)",
        "###Height colors (grain 3)##Höhe Farben (Korn 3)##Výškové barvy (zrno 3)"};
    static constexpr const char* labelModes[] = {"###No values##Keinen Wert##Žádné hodnoty",
                                                 "###Only active value##Nur aktiven Wert##Jen aktivní honota",
                                                 "###Only interresting values##Nur interresanten Werte##Jen zajímavé honoty",
                                                 "###All values##Alle Werte##Všechny honoty"};
    TTabGraph& g = model.graph;
    menu.addSeparator();
    const int preset = PresetOf(g.angles);
    for (int k = 0; k < 3; ++k)
        tick(addItem(menu, text(presets[k]), [this, k] { RunCommand(CmdPresetTop + k, 1); }), preset == k);
    const auto modeItems = [&](int& mode, const char* const* captions, int count) {
        menu.addSeparator();
        for (int k = 0; k < count; ++k)
            tick(addItem(menu, text(captions[k]),
                         [this, &mode, k] {
                             mode = k;
                             model.dirty |= DirtyRepaint;
                             Refresh();
                         }),
                 mode == k);
    };
    modeItems(g.colourMode, colourModes, 6);
    modeItems(g.labelMode, labelModes, 4);
}

void TTab::AddViewItems(QMenu& menu)
{
    const CSheet& s = *model.sheet;
    if (allowedViewCount(model.options) > 1) {
        menu.addSeparator();
        const auto addView = [&](int option, int bits, const char* caption) {
            if (!(model.options & option))
                return;
            QAction* item = addItem(menu, text(caption), [this, bits] {
                ApplyView(bits);
                Refresh();
            });
            tick(item, model.requestedView == bits);
        };
        addView(OptionTableView, ViewTable, "###View as table##Als Tabelle anzeigen##Zbrazit jako tabulku");
        addView(OptionGraph2DView, ViewGraph2D, "###View as graph 2D##Als 2D-Graph anzeigen##Zobrazit jako 2D graf");
        addView(OptionGraph3DView, ViewGraph3D, "###View as graph 3D##Als 3D-Graph anzeigen##Zobrazit jako 3D graf");
    }
    if (!s.enabled || s.x.sliceMode == 2 || s.y.sliceMode == 2 || (s.x.sliceMode != 1 && s.y.sliceMode != 1))
        return;
    menu.addSeparator();
    constexpr const char* UseOnly = "###Use only##Nur##Použij jen";
    if (s.y.sliceMode == 1)
        tick(addItem(menu, joined({UseOnly, s.x.title}), [this] { RunCommand(13); }), s.y.sliced && !s.x.sliced);
    if (s.x.sliceMode == 1)
        tick(addItem(menu, joined({UseOnly, s.y.title}), [this] { RunCommand(14); }), s.x.sliced && !s.y.sliced);
    tick(addItem(menu, joined({"###Use##Verwenden##Použij", s.x.title, "###and##und##a", s.y.title}), [this] { RunCommand(15); }),
         !s.x.sliced && !s.y.sliced);
}

void TTab::ShowMenu(QPoint at)
{
    BuildMenu(at.x(), at.y());
    if (!menu_->isEmpty())
        menu_->popup(mapToGlobal((QPointF(at) * zoom_).toPoint()));
}

}  // namespace curveeditor
