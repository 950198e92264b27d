#pragma once
// TTab: the curve editor control. It owns a TabModel and paints it through the views
// into an off-screen 32-bit image; pointer, wheel and keys become model commands; the
// owning window drives it with Tick() on every timer tick and hears about every
// finished change through onChanged.
// Its own methods are PascalCase and its fields camelCase; the Qt handlers it overrides
// (paintEvent, mouseMoveEvent, ...) keep Qt's names.

#include <QImage>
#include <QMenu>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "curveeditor/commandcodes.h"
#include "curveeditor/model.h"
#include "curveeditor/views/imagediff.h"
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
    const QImage& BackBitmap() const { return backBitmap_; }
    // Shows the control `factor` times its design size: the views still lay out and
    // paint in design pixels, into a back image of the shown size (sharp at any factor);
    // pointer positions are taken back to design pixels.
    void SetZoom(double factor);
    double Zoom() const { return zoom_; }
    double PaintScale() const { return paintScale_; }
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
    QMenu* PopupMenu() const { return menu_; }

    // Pointer entry points in control coordinates (the Qt events call these).
    void PointerMove(int x, int y);
    void LeftDown(int x, int y);
    void LeftUp(int x, int y);
    void DoubleClick(int x, int y);
    void RightDown(int x, int y);
    void Wheel(int delta);

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
    void Refresh();
    void UpdateHint();
    void SetModifiers(Qt::KeyboardModifiers modifiers);
    QPoint TrackPointer(const QMouseEvent* event);
    bool ButtonVisible(const views::TButton& b) const;
    void NextSheet(int direction);
    // Tab reaches the control only while its sheet has a selection in the table view.
    void UpdateTabStop();

    // Table view.
    bool TableMouseMove(int x, int y);
    bool TableLeftDown(int x, int y);
    bool TableLeftUp(int x, int y);
    bool TableRightDown(int x, int y);
    bool TableDoubleClick(int x, int y);
    bool TableWheel(int delta);
    bool TableKey(int key);
    bool TableGestureRunning() const;
    void PlaceSpin(int col, int row);
    int CaretAt(int x) const;
    void SpinTick();

    // 2D graph view.
    bool GraphMouseMove(int x, int y);
    bool GraphLeftDown(int x, int y);
    bool GraphLeftUp(int x, int y);
    bool GraphRightDown(int x, int y);
    bool GraphWheel(int delta);
    void GraphDrag(int x, int y);
    void GraphStatusText();
    void LayoutGraph();

    // 3D graph view.
    bool Graph3DMouseMove(int x, int y);
    bool Graph3DLeftDown(int x, int y);
    bool Graph3DLeftUp();
    bool Graph3DWheel(int delta);
    bool Graph3DKey(int key);

    // Check-grid view.
    bool CheckGridMouseMove(int x, int y);
    bool CheckGridLeftDown(int x, int y);
    bool CheckGridLeftUp();
    bool CheckGridRightDown();
    bool CheckGridWheel(int delta);
    void CheckGridStatusText();
    bool CheckGridGestureRunning() const;
    bool OverStyleBox(int x, int y) const;
    void CheckGridDrag(int x, int y);

    bool TableContains(int x, int y) const;
    bool GraphContains(int x, int y) const;
    void RefreshClipboardState();
    int ClipboardForButtons() const { return clipboardCommand ? clipboardState_ : -1; }
    // Context menu parts.
    void AddInsertDeleteItems(QMenu& menu, int x, int y);
    void AddViewItems(QMenu& menu);
    void AddGraph3DItems(QMenu& menu);

    // Hands the part of the back image that the last paint changed to the screen.
    void ShowChanges();

    QImage backBitmap_;
    views::PictureSignature shownPicture_;  // for what of a new picture has to go to the screen
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
