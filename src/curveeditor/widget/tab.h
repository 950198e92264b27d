#pragma once
// TTab: the curve editor control. It owns a TabModel and paints it through the views
// into an off-screen 32-bit image; pointer, wheel and keys become model commands; the
// owning window drives it with Tick() on every timer tick and hears about every
// finished change through onChanged.

#include <QImage>
#include <QMenu>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "curveeditor/commandcodes.h"
#include "curveeditor/model.h"
#include "curveeditor/views/viewstate.h"

namespace curveeditor {

// "Dragging: " in the current language while a drag runs, else empty. The language
// texts drop a variant's trailing blank, so the blank before the item is added here.
std::string DraggingPrefix(bool dragging);

class TTab : public QWidget {
    Q_OBJECT
public:
    // A control of width x height (500 x 200 when 0) at (0, 0) of `parent`.
    TTab(QWidget* parent, int width, int height, int options);
    ~TTab() override;

    TabModel model;
    views::TabView view;

    // The owner: called once for every announced change and after the user switched sheets.
    std::function<void(TTab&)> onChanged;
    // The clipboard commands (0 copy, 1 copy table, 2 paste, 40 copy graph) and the
    // context menu at a point of the control. Both start as the control's own (the system
    // clipboard, BuildMenu); an owner may replace them. Without a clipboard hook the copy
    // and paste buttons stay disabled.
    std::function<void(TTab&, int command)> clipboardCommand;
    std::function<void(TTab&, QPoint at)> contextMenu;

    int inputOn = 1;
    std::string hoverText;  // status text of the hovered graph item (language already chosen)

    // One timer tick of the owning window.
    void Tick();
    // Margins, buttons and table geometry; run after the sheets or the language changed.
    void BuildFrame();
    void Relayout();
    void ApplyView(int viewBits);
    // The paint pass into the back image.
    void Render();
    const QImage& backBitmap() const { return backBitmap_; }
    // Shows the control `factor` times its design size: the views still lay out and
    // paint in design pixels, into a back image of the shown size (sharp at any factor);
    // pointer positions are taken back to design pixels.
    void setZoom(double factor);
    double zoom() const { return zoom_; }
    double paintScale() const { return paintScale_; }
    // A key: `virtualKey` as a character (9 Tab, 13 Enter, 8 Backspace, 27 Escape, 32 Space)
    // or a navigation key shifted left by 8 (Qt's Windows-style codes 0x21 .. 0x2E); or
    // `character` for typed text. Returns whether the key was used.
    bool HandleKey(int virtualKey, int character);
    void NotifyOwner();
    // Runs a button's command as a click would.
    void RunButton(int index);
    // A numbered command: the clipboard ones through clipboardCommand, the rest by the model.
    void RunCommand(int command, int argument = 0);

    // The system clipboard: copy (0), copy table (1), paste (2), copy graph (40).
    void RunClipboardCommand(int command);
    void CopySelection();
    void CopyTable();
    void Paste();
    void CopyGraph();
    // What the clipboard holds as ClipboardBits; 0 without a clipboard.
    int ClipboardState() const;

    // The popup menu of a right click at (x, y) of the control, rebuilt from the sheet,
    // the selection, the clipboard and the element there; ShowMenu also opens it (not
    // when it is empty).
    QMenu* BuildMenu(int x, int y);
    void ShowMenu(QPoint at);
    QMenu* popupMenu() const { return menu_; }

    // Pointer entry points in control coordinates (the Qt events call these).
    void pointerMove(int x, int y);
    void leftDown(int x, int y);
    void leftUp(int x, int y);
    void doubleClick(int x, int y);
    void rightDown(int x, int y);
    void wheel(int delta);

    int pointerX = -1, pointerY = -1;
    int inTable = 0, inGraph = 0;
    int shiftDown = 0, ctrlDown = 0;
    int caretPhase = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Redoes what the model's dirty bits ask for and renders.
    void refresh();
    void updateHint();
    void setModifiers(Qt::KeyboardModifiers modifiers);
    QPoint trackPointer(const QMouseEvent* event);
    bool buttonVisible(const views::TButton& b) const;
    void nextSheet(int direction);
    // Tab reaches the control only while its sheet has a selection in the table view.
    void updateTabStop();

    // Table view.
    bool tableMouseMove(int x, int y);
    bool tableLeftDown(int x, int y);
    bool tableLeftUp(int x, int y);
    bool tableRightDown(int x, int y);
    bool tableDoubleClick(int x, int y);
    bool tableWheel(int delta);
    bool tableKey(int key);
    bool tableGestureRunning() const;
    void placeSpin(int col, int row);
    int caretAt(int x) const;
    void spinTick();

    // 2D graph view.
    bool graphMouseMove(int x, int y);
    bool graphLeftDown(int x, int y);
    bool graphLeftUp(int x, int y);
    bool graphRightDown(int x, int y);
    bool graphWheel(int delta);
    void graphDrag(int x, int y);
    void graphStatusText();
    void layoutGraph();

    // 3D graph view.
    bool graph3DMouseMove(int x, int y);
    bool graph3DLeftDown(int x, int y);
    bool graph3DLeftUp();
    bool graph3DWheel(int delta);
    bool graph3DKey(int key);

    // Check-grid view.
    bool checkGridMouseMove(int x, int y);
    bool checkGridLeftDown(int x, int y);
    bool checkGridLeftUp();
    bool checkGridRightDown();
    bool checkGridWheel(int delta);
    void checkGridStatusText();
    bool checkGridGestureRunning() const;
    bool overStyleBox(int x, int y) const;
    void checkGridDrag(int x, int y);

    bool tableContains(int x, int y) const;
    bool graphContains(int x, int y) const;
    void refreshClipboardState();
    int clipboardForButtons() const { return clipboardCommand ? clipboardState_ : -1; }
    // Context menu parts.
    void addInsertDeleteItems(QMenu& menu, int x, int y);
    void addViewItems(QMenu& menu);
    void addGraph3DItems(QMenu& menu);

    QImage backBitmap_;
    double zoom_ = 1.0;
    double paintScale_ = 1.0;  // back-image pixels per design pixel
    QMenu* menu_ = nullptr;
    int clipboardState_ = 0;
    int menuX_ = -1, menuY_ = -1;  // pointer when the menu opened, for the insert items
    int painting_ = 0;
    int pressedButton_ = -1;
    int lastLanguage_ = -1;
    int selectionAtDown_ = 0;
    bool dispatching_ = false;
};

// The control of the main window: fills `band` (its placeholder), with the button bar
// and the table view (the 2D graph goes below the table), and the two curve sheets set up.
TTab* createCurveEditor(QWidget* band);

}  // namespace curveeditor
