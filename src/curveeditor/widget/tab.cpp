// The control frame: creation, the paint pass, the tick, the key entry and the routing
// of pointer events to the views.

#include "curveeditor/widget/tab.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

#include "curveeditor/curvesheets.h"
#include "curveeditor/views/checkgrid.h"
#include "curveeditor/views/frame.h"
#include "curveeditor/views/graph2d.h"
#include "curveeditor/views/graph3d.h"
#include "curveeditor/views/primitives.h"
#include "curveeditor/views/table.h"
#include "lang/langtext.h"

namespace curveeditor {
namespace {

constexpr int KeyTab = 9, KeyEnter = 13, KeyInsert = 0x2D << 8;

// Windows-style navigation codes of Qt keys, 0 for keys that are not navigation.
int navigationCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

}  // namespace

TTab::TTab(QWidget* parent, int width, int height, int options) : QWidget(parent), model(options)
{
    view.width = width > 0 ? width : 500;
    view.height = height > 0 ? height : 200;
    view.pixelsPerInch = 96;  // layout is designed in 96 dpi pixels
    view.colours.control = 0xF0F0F0;
    setGeometry(0, 0, view.width, view.height);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    backBitmap_ = QImage(view.width, view.height, QImage::Format_RGB32);
    backBitmap_.fill(views::colour(view.colours.control));
    model.measureText = [](std::string_view text, int size) {
        return QFontMetrics(views::viewFont(size)).horizontalAdvance(views::qtext(text));
    };
    model.onChanged = [this](TabModel&) { NotifyOwner(); };
    lastLanguage_ = lang::currentLanguage();
    clipboardCommand = [](TTab& tab, int command) { tab.RunClipboardCommand(command); };
    contextMenu = [](TTab& tab, QPoint at) { tab.ShowMenu(at); };
    menu_ = new QMenu(this);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { RefreshClipboardState(); });
    clipboardState_ = ClipboardState();
}

TTab::~TTab() = default;

void TTab::NotifyOwner()
{
    if (onChanged)
        onChanged(*this);
}

void TTab::BuildFrame()
{
    views::BuildFrame(model, view);
    views::UpdateButtonStates(model, view, ClipboardForButtons());
    model.dirty &= ~DirtyFrame;
    Relayout();
    if (pointerX >= 0)
        PointerMove(pointerX, pointerY);
}

void TTab::Relayout()
{
    model.Relayout();
    views::LayoutTable(model, view);
    ApplyView(0);
}

void TTab::ApplyView(int viewBits)
{
    views::ApplyView(model, view, viewBits);
    model.dirty &= ~DirtyView;
    model.dirty |= DirtyRelayout | DirtyRepaint;
}

void TTab::LayoutGraph()
{
    model.ComputeAxisRanges();
    views::LayoutGraph2D(model, view);
}

void TTab::Render()
{
    if (painting_)
        return;
    // Owners render straight after switching sheets or reloading them: a pending frame
    // (button states, margins) and view change must be done first, not dropped below.
    if (model.dirty & DirtyFrame)
        BuildFrame();
    if (model.dirty & DirtyView)
        ApplyView(0);
    painting_ = 1;
    if (model.dirty & DirtyRelayout) {
        views::LayoutTable(model, view);
        views::ApplyView(model, view, 0);
    }
    backBitmap_.fill(views::colour(view.colours.control));
    {
        QPainter p(&backBitmap_);
        p.scale(paintScale_, paintScale_);  // the views paint in design pixels
        const CSheet* s = model.sheet;
        if (s && s->enabled && !s->hidden) {
            const bool relayout = model.dirty & DirtyRelayout;
            if (model.viewBits & ViewTable)
                views::PaintTable(p, backBitmap_, model, view);
            if (relayout && (model.viewBits & (ViewGraph2D | ViewGraph3D | ViewCheckGrid)))
                model.ComputeAxisRanges();
            if (model.viewBits & ViewGraph2D) {
                if (relayout)
                    views::LayoutGraph2D(model, view);
                views::PaintGraph2D(p, model, view);
            }
            if (model.viewBits & ViewGraph3D) {
                if (relayout)
                    views::LayoutGraph3D(model, view);
                views::PaintGraph3D(p, model, view);
            }
            if (model.viewBits & ViewCheckGrid) {
                if (relayout)
                    views::LayoutCheckGrid(model, view);
                views::PaintCheckGrid(p, model, view);
            }
        }
        views::PaintFrame(p, model, view);
    }
    painting_ = 0;
    model.dirty = 0;
    ShowChanges();
}

void TTab::ShowChanges()
{
    // While the engine runs, a new picture differs from the last by a line and a cell or
    // two; copying only those to the screen saves most of the paint. Every picture is
    // signed, as the next one is compared with the picture on the screen.
    const QRect changed = shownPicture_.Update(backBitmap_);
    // The caret is drawn over the picture on the screen only: while editing, all goes.
    if (model.edit.editing) {
        update();
        return;
    }
    if (changed.isEmpty())
        return;
    const double ratio = devicePixelRatioF();
    update(QRectF(changed.x() / ratio, changed.y() / ratio, changed.width() / ratio, changed.height() / ratio)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

void TTab::Refresh()
{
    if (model.dirty & DirtyFrame)
        BuildFrame();
    if (model.dirty & DirtyView)
        ApplyView(0);
    if (views::UpdateButtonStates(model, view, ClipboardForButtons()))
        model.dirty |= DirtyRepaint;
    // While the engine runs the speed changes at every monitor block, mostly by less than
    // a pixel column of the graph: the same picture is not painted again.
    if ((model.dirty & DirtyLiveSpeed) && views::LiveSpeedX(model, view.graph) != view.graph.liveX)
        model.dirty |= DirtyRepaint;
    model.dirty &= ~DirtyLiveSpeed;
    if (model.dirty & (DirtyRepaint | DirtyRelayout | DirtyRenderNow))
        Render();
}

void TTab::SetZoom(double factor)
{
    zoom_ = factor > 0 ? factor : 1.0;
    resize(int(std::lround(view.width * zoom_)), int(std::lround(view.height * zoom_)));
    // The back image has the shown size in device pixels.
    // The painter's scale, not the image's pixel ratio (which a painter ignores below 1).
    paintScale_ = zoom_ * devicePixelRatioF();
    backBitmap_ = QImage(int(std::lround(view.width * paintScale_)), int(std::lround(view.height * paintScale_)),
                         QImage::Format_RGB32);
    model.dirty |= DirtyRepaint;
    Render();
}

void TTab::paintEvent(QPaintEvent*)
{
    if (painting_)
        return;
    QPainter p(this);
    p.drawImage(QRectF(0, 0, view.width * zoom_, view.height * zoom_), backBitmap_, QRectF(backBitmap_.rect()));
    p.scale(zoom_, zoom_);
    const InPlaceEdit& e = model.edit;
    if (hasFocus() && e.editing && caretPhase < 8 && !view.printing) {
        const views::TableState& t = view.tableState;
        const int x = t.charX[std::size_t(std::clamp(e.caret, 0, int(t.charX.size()) - 1))];
        p.fillRect(x, t.editTextTop, 2, t.editTextHeight, Qt::black);
    }
}

void TTab::Tick()
{
    if (!model.sheet || !inputOn) {
        ++model.tick;
        return;
    }
    SetModifiers(QGuiApplication::keyboardModifiers());
    model.Tick();  // tick counter, active cell, deferred announcement
    SpinTick();
    if (model.edit.editing) {
        if (caretPhase == 0 || caretPhase == 8)
            update();
        caretPhase = (caretPhase + 1) % 16;
    }
    if ((model.tick & 15) == 8)  // other programs change the clipboard too
        clipboardState_ = ClipboardState();
    if (lang::currentLanguage() != lastLanguage_) {
        lastLanguage_ = lang::currentLanguage();
        model.dirty |= DirtyFrame | DirtyRepaint;
    }
    Refresh();
}

void TTab::SpinTick()
{
    SpinState& spin = model.spin;
    if (!spin.shown || !(spin.upPressed || spin.downPressed))
        return;
    views::TableState& t = view.tableState;
    const int held = ++t.spinTicks;
    if (held <= 16)
        return;
    t.spinRepeated = 1;
    const int sign = spin.upPressed ? 1 : -1;
    const unsigned fastBit = spin.row == -1 ? SheetSpinFastX : spin.col == -1 ? SheetSpinFastY : SheetSpinFastZ;
    const bool fast = model.sheet->flags & fastBit;
    if (!fast || held - 16 <= 20)
        model.SpinStep(sign);
    else if (held % 2 == 0)
        model.SpinStep(10 * sign);
}

void TTab::NextSheet(int direction)
{
    const int n = model.sheetCount;
    int index = model.current;
    for (int step = 0; step < n; ++step) {
        index = (index + direction + n) % n;
        if (!model.sheets[std::size_t(index)].hidden)
            break;
    }
    if (index != model.current) {
        model.SelectSheet(index);
        NotifyOwner();
    }
}

bool TTab::HandleKey(int virtualKey, int character)
{
    if (!model.sheet)
        return false;
    int key = character;
    if (!key) {
        if (virtualKey == KeyTab || virtualKey == KeyEnter || virtualKey == ' ')
            key = virtualKey;
        else if ((virtualKey >= 0x21 && virtualKey <= 0x28) || virtualKey == 0x2D || virtualKey == 0x2E)
            key = virtualKey << 8;
        else
            return false;
    }
    const bool tableEditing = model.edit.editing && (model.viewBits & ViewTable);
    bool used = false;
    if ((key == '+' || key == '-') && !tableEditing) {
        model.Increment(key == '+' ? 1 : -1);
        used = true;
    } else if ((ctrlDown && key == KeyInsert) || key == 3) {
        if (clipboardCommand)
            clipboardCommand(*this, 0);
        used = true;
    } else if ((shiftDown && key == KeyInsert) || key == 22) {
        if (clipboardCommand)
            clipboardCommand(*this, 2);
        used = true;
    } else if (key == KeyTab && model.sheetCount >= 2) {
        if (ctrlDown) {
            const int back = model.previous;
            if (back >= 0 && back < model.sheetCount && !model.sheets[std::size_t(back)].hidden && back != model.current) {
                model.SelectSheet(back);
                NotifyOwner();
            }
        } else {
            NextSheet(shiftDown ? -1 : 1);
        }
        used = true;
    } else if (model.viewBits & ViewTable) {
        used = TableKey(key);
    }
    if (!used && (model.viewBits & ViewGraph3D))
        used = Graph3DKey(key);
    Refresh();
    return used;
}

void TTab::SetModifiers(Qt::KeyboardModifiers modifiers)
{
    const int shift = (modifiers & Qt::ShiftModifier) ? 1 : 0, ctrl = (modifiers & Qt::ControlModifier) ? 1 : 0;
    // The graph's hover mark shows which points Shift and Ctrl would drag along; the
    // graph below the table counts as well as the requested graph view.
    if ((shift != shiftDown || ctrl != ctrlDown) && (model.viewBits & ViewGraph2D))
        model.dirty |= DirtyRepaint;
    shiftDown = view.graph.shiftDown = shift;
    ctrlDown = view.graph.ctrlDown = ctrl;
}

bool TTab::event(QEvent* event)
{
    // Tab and Shift+Tab switch sheets instead of moving the focus; with one sheet they
    // move the focus as anywhere else.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            key->accept();
            keyPressEvent(key);
            if (key->isAccepted())
                return true;
            // Accepted, so that the parents do not move the focus a second time.
            key->accept();
        }
    }
    return QWidget::event(event);
}

void TTab::keyPressEvent(QKeyEvent* event)
{
    SetModifiers(event->modifiers());
    const int qtKey = event->key();
    bool used = false;
    if (qtKey == Qt::Key_Tab || qtKey == Qt::Key_Backtab) {
        if (qtKey == Qt::Key_Backtab)
            shiftDown = 1;
        used = HandleKey(KeyTab, 0);
    } else if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) {
        used = HandleKey(KeyEnter, 0);
    } else if (qtKey == Qt::Key_Backspace) {
        used = HandleKey(0, 8);
    } else if (qtKey == Qt::Key_Escape) {
        used = HandleKey(0, 27);
    } else if (const int code = navigationCode(qtKey)) {
        used = HandleKey(code, 0);
    } else if (ctrlDown && (qtKey == Qt::Key_C || qtKey == Qt::Key_V)) {
        used = HandleKey(0, qtKey == Qt::Key_C ? 3 : 22);
    } else if (!event->text().isEmpty() && event->text().at(0).unicode() >= 32 && event->text().at(0).unicode() < 127) {
        used = HandleKey(0, event->text().at(0).unicode());
    }
    if (!used)
        QWidget::keyPressEvent(event);
}

void TTab::focusInEvent(QFocusEvent* event)
{
    view.focused = 1;
    model.dirty |= DirtyRepaint;
    Refresh();
    QWidget::focusInEvent(event);
}

void TTab::focusOutEvent(QFocusEvent* event)
{
    view.focused = 0;
    // The context menu takes the focus only while it is open; typing goes on after it.
    if (event->reason() != Qt::PopupFocusReason) {
        model.CommitEdit();
        UpdateTabStop();
    }
    model.dirty |= DirtyRepaint;
    Refresh();
    QWidget::focusOutEvent(event);
}

void TTab::UpdateTabStop()
{
    const bool tabStop = model.sheet && model.sheet->sel.count > 0 && (model.requestedView & ViewTable);
    setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

// The pointer left the control: hover marks, spin buttons, the preview and the hint go,
// unless a gesture runs (it keeps the pointer until the button is released).
void TTab::leaveEvent(QEvent* event)
{
    const bool gesture = pressedButton_ >= 0 || TableGestureRunning() || view.graph.dragging || view.graph.banding ||
                         CheckGridGestureRunning() || view.graph3D.rotating;
    if (!gesture)
        PointerMove(-1, -1);
    QWidget::leaveEvent(event);
}

void TTab::mouseMoveEvent(QMouseEvent* event) { TrackPointer(event); }

// Every mouse event first brings the modifiers and the pointer position up to date.
QPoint TTab::TrackPointer(const QMouseEvent* event)
{
    SetModifiers(event->modifiers());
    const QPoint at = (event->position() / zoom_).toPoint();
    PointerMove(at.x(), at.y());
    return at;
}

void TTab::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = TrackPointer(event);
    if (event->button() == Qt::LeftButton) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        LeftDown(at.x(), at.y());
    } else if (event->button() == Qt::RightButton) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        RightDown(at.x(), at.y());
    }
}

void TTab::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = TrackPointer(event);
    if (event->button() == Qt::LeftButton)
        LeftUp(at.x(), at.y());
}

void TTab::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint at = TrackPointer(event);
    if (event->button() == Qt::LeftButton)
        DoubleClick(at.x(), at.y());
}

void TTab::wheelEvent(QWheelEvent* event)
{
    SetModifiers(event->modifiers());
    event->accept();
    // Turning the wheel while a button is held would fight the running gesture.
    if (event->buttons() & (Qt::LeftButton | Qt::RightButton))
        return;
    const int delta = event->angleDelta().y();
    if (delta != 0)
        Wheel(delta <= 0 ? -1 : 1);
}

bool TTab::TableContains(int x, int y) const
{
    const views::TableGeometry& g = view.table;
    // In check-grid mode the cell area belongs to the check grid drawn over it.
    if ((model.options & OptionCheckGrid) && y > g.gridTop + g.headerHeight && x > g.cellsLeft - int(g.cellWidth / 2))
        return false;
    return (model.viewBits & ViewTable) && x >= g.gridLeft && x <= int(g.cellsLeft + g.shownCols * g.cellWidth + 15) &&
           y >= g.gridTop && y <= int(g.cellsTop + g.shownRows * g.cellHeight + 15);
}

bool TTab::GraphContains(int x, int y) const
{
    return (model.viewBits & (ViewGraph2D | ViewGraph3D | ViewCheckGrid)) && view.graph.areaContains(x, y, view.width, view.height);
}

bool TTab::ButtonVisible(const views::TButton& b) const
{
    return (b.state & views::ButtonShown) || ((b.state & 0x70) && ((b.state >> 4) & 7) == model.requestedView);
}

void TTab::PointerMove(int x, int y)
{
    if (!inputOn || !model.sheet)
        return;
    pointerX = x;
    pointerY = y;
    const int oldTab = view.hoverTab;
    view.hoverTab = 0;
    hoverText.clear();
    inTable = TableContains(x, y);
    inGraph = GraphContains(x, y);
    if (model.sheet->enabled) {
        const bool checkGrid = model.viewBits & ViewCheckGrid;
        if (TableGestureRunning())
            TableMouseMove(x, y);
        else if (view.graph.dragging || view.graph.banding)
            GraphMouseMove(x, y);
        else if (CheckGridGestureRunning())
            CheckGridMouseMove(x, y);
        else if (view.graph3D.rotating || ((model.viewBits & ViewGraph3D) && inGraph))
            Graph3DMouseMove(x, y);
        else {
            // Over the check grid the cells under it take no hover.
            if ((model.viewBits & ViewTable) && (inTable || !checkGrid))
                TableMouseMove(x, y);
            else if (model.spin.shown && checkGrid) {
                model.spin.shown = 0;
                model.dirty |= DirtyRepaint;
            }
            if (model.viewBits & ViewGraph2D)
                GraphMouseMove(x, y);
            if (checkGrid)
                CheckGridMouseMove(x, y);
        }
    }
    view.hoverTab = views::TabAt(model, x, y);
    if (view.hoverTab != oldTab)
        model.dirty |= DirtyRepaint;
    int hovered = -1;
    for (int k = 0; k < view.buttonCount && hovered < 0; ++k) {
        const views::TButton& c = view.buttons[std::size_t(k)];
        if (c.state && !(c.state & views::ButtonUnclickable) && ButtonVisible(c) && c.contains(x, y))
            hovered = k;
    }
    for (int i = 0; i < view.buttonCount; ++i) {
        views::TButton& b = view.buttons[std::size_t(i)];
        const int hover = i == hovered ? 1 : 0;
        if (b.hover != hover) {
            b.hover = hover;
            model.dirty |= DirtyRepaint;
        }
        // A pressed button left by the pointer is released without running its command.
        if (!hover && i == pressedButton_ && !(b.flags & views::ButtonToggle)) {
            b.down = 0;
            pressedButton_ = -1;
        }
    }
    UpdateHint();
    Refresh();
}

void TTab::UpdateHint()
{
    std::string hint;
    for (int i = 0; i < view.buttonCount && hint.empty(); ++i)
        if (view.buttons[std::size_t(i)].hover)
            hint = lang::LangText(view.buttons[std::size_t(i)].hint).pick();
    if (hint.empty() && view.tableState.cornerHover)
        hint = lang::LangText("###Interpolation####Interpolace").pick();
    if (hint.empty() && (model.options & OptionCheckGrid) && OverStyleBox(pointerX, pointerY))
        hint = lang::LangText("###Proporcional / nonproporcional view####Proporcionální / neproporcionální zobrazení").pick();
    if (hint.empty())
        hint = hoverText;
    const QString text = views::qtext(hint);
    if (toolTip() != text)
        setToolTip(text);
    // Pointer shape: text over the edited text, move over a block edge, cross on the fill handle.
    const views::TableState& t = view.tableState;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (model.edit.editing && inTable && pointerY >= t.editTextTop && pointerY <= t.editTextTop + t.editTextHeight &&
        pointerX >= t.charX[0] - 4 && pointerX <= t.charX[std::min<std::size_t>(model.edit.text.size(), 16)] + 4)
        shape = Qt::IBeamCursor;
    else if (t.blockEdge || t.dragMode == 2 || view.graph.dragging || view.graph.hovered != views::GraphNothing ||
             view.checkGrid.dragging || ((model.viewBits & ViewCheckGrid) && view.checkGrid.hovered != views::CheckGridNothing))
        shape = Qt::SizeAllCursor;
    else if (t.fillHandle || t.dragMode == 1)
        shape = Qt::CrossCursor;
    if (cursor().shape() != shape)
        setCursor(shape);
}

void TTab::RunButton(int index) { RunCommand(index, view.buttons[std::size_t(index)].down); }

void TTab::RunCommand(int command, int argument)
{
    if ((command >= CmdCopy && command <= CmdPaste) || command == CmdCopyGraph) {
        if (clipboardCommand)
            clipboardCommand(*this, command);
    } else {
        model.RunCommand(command, argument);
    }
    Refresh();
}

void TTab::LeftDown(int x, int y)
{
    if (!model.sheet)
        return;
    if (view.hoverTab) {
        model.SelectSheet(view.hoverTab - 1);
        NotifyOwner();
        Refresh();
        return;
    }
    if (!model.sheet->enabled)
        return;
    for (int i = 0; i < view.buttonCount; ++i) {
        views::TButton& b = view.buttons[std::size_t(i)];
        if (!b.hover)
            continue;
        if (b.flags & views::ButtonToggle) {
            b.down = !b.down;
            RunButton(i);
        } else {
            b.down = 1;
            pressedButton_ = i;
            model.dirty |= DirtyRepaint;
            Refresh();
        }
        return;
    }
    if ((model.options & OptionCheckGrid) && OverStyleBox(x, y)) {
        model.graph.proportional = !model.graph.proportional;
        model.dirty |= DirtyRelayout | DirtyRepaint;
        Refresh();
        return;
    }
    bool taken = false;
    if (TableGestureRunning() || inTable)
        taken = TableLeftDown(x, y);
    if (!taken && (model.viewBits & ViewGraph2D) && (inGraph || view.graph.dragging))
        taken = GraphLeftDown(x, y);
    if (!taken && (model.viewBits & ViewGraph3D) && inGraph)
        taken = Graph3DLeftDown(x, y);
    if (!taken && (model.viewBits & ViewCheckGrid) && (inGraph || CheckGridGestureRunning()))
        taken = CheckGridLeftDown(x, y);
    if (!taken && model.sheet->sel.count > 0) {
        model.sheet->sel.Clear();
        model.dirty |= DirtyRepaint;
    }
    Refresh();
}

void TTab::LeftUp(int x, int y)
{
    if (!model.sheet)
        return;
    if (pressedButton_ >= 0) {
        const int index = pressedButton_;
        pressedButton_ = -1;
        view.buttons[std::size_t(index)].down = 0;
        model.dirty |= DirtyRepaint;
        RunButton(index);
        return;
    }
    bool taken = TableLeftUp(x, y);
    if (!taken && (model.viewBits & ViewGraph2D))
        taken = GraphLeftUp(x, y);
    if (!taken && (model.viewBits & ViewGraph3D))
        taken = Graph3DLeftUp();
    if (!taken && (model.viewBits & ViewCheckGrid))
        CheckGridLeftUp();
    Refresh();
}

void TTab::DoubleClick(int x, int y)
{
    for (int i = 0; i < view.buttonCount; ++i)
        if (view.buttons[std::size_t(i)].hover)
            return LeftDown(x, y);
    if (inTable && model.sheet && model.sheet->enabled)
        TableDoubleClick(x, y);
    Refresh();
}

void TTab::RightDown(int x, int y)
{
    if (!model.sheet)
        return;
    if (view.hoverTab) {
        model.SelectSheet(view.hoverTab - 1);
        NotifyOwner();
        Refresh();
    } else if (model.sheet->enabled) {
        if (!(inTable && TableRightDown(x, y)) && inGraph) {
            if (model.viewBits & ViewGraph2D)
                GraphRightDown(x, y);
            else if (model.viewBits & ViewCheckGrid)
                CheckGridRightDown();
        }
        Refresh();
    }
    if (contextMenu)
        contextMenu(*this, QPoint(x, y));
}

void TTab::Wheel(int delta)
{
    if (!inputOn || !model.sheet || !model.sheet->enabled)
        return;
    if (inTable)
        TableWheel(delta);
    else if (inGraph && (model.viewBits & ViewGraph2D))
        GraphWheel(delta);
    else if (inGraph && (model.viewBits & ViewGraph3D))
        Graph3DWheel(delta);
    else if (inGraph && (model.viewBits & ViewCheckGrid))
        CheckGridWheel(delta);
    else if (model.viewBits & ViewTable) {
        if (!model.sheet->y.sliced && model.sheet->y.count > model.visibleRows)
            model.ScrollBy(0, -delta);
        else if (!model.sheet->x.sliced && model.sheet->x.count > model.visibleCols)
            model.ScrollBy(-delta, 0);
    }
    Refresh();
}

TTab* createCurveEditor(QWidget* band)
{
    auto* tab = new TTab(band, band->width(), band->height(), OptionButtonBar | OptionTableView);
    tab->setObjectName(QStringLiteral("CurveEditorControl"));
    // One autoscroll choice for every editor of the main window.
    static int autoscroll = 0;
    tab->model.autoscroll = &autoscroll;
    tab->model.graph.colourMode = 4;  // should the 3D graph ever be allowed, a lighter grain
    SetupCurveSheets(tab->model);
    tab->BuildFrame();
    tab->Render();
    return tab;
}

}  // namespace curveeditor
