// The control's side of the clipboard exchange: the texts of clipboardtext.h moved to and
// from the system clipboard, and the graph copied as a picture.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "curveeditor/clipboardtext.h"
#include "curveeditor/widget/tab.h"

namespace curveeditor {
namespace {

QByteArray sheetBytes(const QMimeData& data)
{
    if (data.hasFormat(SheetMimeType))
        return data.data(SheetMimeType);
    return data.data(SheetWindowsMimeType);
}

}  // namespace

int TTab::ClipboardState() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data)
        return 0;
    int bits = data->hasText() ? ClipboardText : 0;
    if (data->hasFormat(SheetMimeType) || data->hasFormat(SheetWindowsMimeType))
        bits |= ClipboardSheet;
    return bits;
}

void TTab::RefreshClipboardState()
{
    const int state = ClipboardState();
    if (state == clipboardState_)
        return;
    clipboardState_ = state;
    Refresh();
}

void TTab::RunClipboardCommand(int command)
{
    switch (command) {
    case 0: CopySelection(); break;
    case 1: CopyTable(); break;
    case 2: Paste(); break;
    case CmdCopyGraph: CopyGraph(); break;
    default: break;
    }
}

void TTab::CopySelection()
{
    const std::string text = CopySelectionText(model);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (text.empty() || !clipboard)
        return;
    clipboard->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    RefreshClipboardState();
}

void TTab::CopyTable()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!model.sheet || !clipboard)
        return;
    const ClipboardTexts texts = CopyTableTexts(model);
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(texts.plain.data(), qsizetype(texts.plain.size())));
    const QByteArray sheet(texts.sheet.data(), qsizetype(texts.sheet.size()));
    data->setData(SheetMimeType, sheet);
    data->setData(SheetWindowsMimeType, sheet);
    clipboard->setMimeData(data);  // one change of the clipboard carries both texts
    RefreshClipboardState();
}

void TTab::Paste()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !model.sheet)
        return;
    const int bits = ClipboardState();
    const QByteArray plain = data->hasText() ? data->text().toUtf8() : QByteArray();
    const std::string_view plainText(plain.constData(), std::size_t(plain.size()));
    if (bits & ClipboardSheet) {
        // A copied table always pastes as the whole table, also while a number is typed:
        // the typed text is dropped, the table replaces every value anyway.
        model.edit.editing = 0;
        const QByteArray sheet = sheetBytes(*data);
        PasteSheetText(model, std::string_view(sheet.constData(), std::size_t(sheet.size())));
    } else if (bits & ClipboardText) {
        PastePlainText(model, plainText);
    }
    Refresh();
}

void TTab::CopyGraph()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Every graph view paints inside the same graph area.
    if (!clipboard || !model.sheet || !(model.viewBits & (ViewGraph2D | ViewGraph3D | ViewCheckGrid)))
        return;
    const views::Graph2DState& g = view.graph;
    const QRect area(g.areaLeft, g.areaTop, view.width - g.areaRightMargin - g.areaLeft,
                     view.height - g.areaBottomMargin - g.areaTop);
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const std::uint32_t control = view.colours.control;
    view.colours.control = 0xFFFFFF;  // a picture for documents: white behind the graph
    Render();
    const double ratio = paintScale_;  // the back image may be zoomed
    const QImage picture = backBitmap_.copy(QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toRect());
    view.colours.control = control;
    Render();
    clipboard->setImage(picture);
    RefreshClipboardState();
}

}  // namespace curveeditor
