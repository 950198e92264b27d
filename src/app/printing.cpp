// Printing of the settings: the window is put into a print look (operating elements
// hidden, grey backgrounds white, labels transparent, curve editors in print rendering),
// rendered scaled to the page, and every change is undone from `printChanges`.

#include "app/printing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "curveeditor/widget/tab.h"
#include "util/resourcebitmap.h"

namespace app {
namespace {

QColor windowColour(const QWidget* w) { return w->palette().color(QPalette::Window); }

void setWindowColour(QWidget* w, const QColor& colour)
{
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
}

void setPrintRendering(curveeditor::TTab* tab, bool on)
{
    tab->view.printing = on ? 1 : 0;
    tab->Render();
    tab->update();
}

void record(TMainForm& form, int kind, int action, QColor oldColour, QWidget* control)
{
    form.printChanges.insert(new CPrintObj(kind, action, oldColour, control));
}

void hideForPrint(TMainForm& form, int kind, QWidget* control, const QColor& face)
{
    if (control->isHidden())
        return;
    control->hide();
    record(form, kind, Hidden, face, control);
}

void whiten(TMainForm& form, int kind, QWidget* control)
{
    const QColor old = windowColour(control);
    setWindowColour(control, Qt::white);
    record(form, kind, ColourChanged, old, control);
}

void prepareChildren(TMainForm& form, QWidget* container, const QColor& face);

void prepareControl(TMainForm& form, QWidget* w, const QColor& face)
{
    const int kind = printKind(w);
    switch (kind) {
    case PrintLabel:
        // A label is opaque when it fills its background; only grey ones become transparent.
        if (w->autoFillBackground() && windowColour(w) == face) {
            w->setAutoFillBackground(false);
            record(form, kind, MadeTransparent, face, w);
        }
        break;
    case PrintUpDown:
    case PrintButton:
    case PrintGauge:
    case PrintBitBtn:
        hideForPrint(form, kind, w, face);
        break;
    case PrintRadioGroup:
    case PrintCheckBox:
        if (windowColour(w) == face)
            whiten(form, kind, w);
        break;
    case PrintGroupBox:
        prepareChildren(form, w, face);
        if (windowColour(w) != QColor(Qt::white))
            whiten(form, kind, w);
        break;
    case PrintTab:
        if (!w->isHidden()) {
            setPrintRendering(static_cast<curveeditor::TTab*>(w), true);
            record(form, kind, PrintRendering, face, w);
        }
        break;
    case PrintPageControl:
    case PrintTabSheet:
        prepareChildren(form, w, face);
        break;
    default:
        // Plain container widgets (the curve editor's band) only place their children.
        if (const QByteArray name = util::className(w); name == "QWidget" || name == "QFrame")
            prepareChildren(form, w, face);
        break;
    }
}

void prepareChildren(TMainForm& form, QWidget* container, const QColor& face)
{
    for (QObject* child : container->children())
        if (child->isWidgetType())
            prepareControl(form, static_cast<QWidget*>(child), face);
}

QColor buttonFace() { return QApplication::palette().color(QPalette::Window); }

// The window's settings area and its status bar, scaled to fit the page.
void renderToPage(TMainForm& form, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    QWidget* bar = form.statusBar();
    const QSize area(std::max(form.client->width(), bar->width()), form.client->height() + bar->height());
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(double(page.width()) / area.width(), double(page.height()) / area.height());
    painter.scale(scale, scale);
    form.client->render(&painter, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    bar->render(&painter, QPoint(0, form.client->height()), QRegion(),
                QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
}

}  // namespace

int printKind(const QWidget* w)
{
    if (qobject_cast<const curveeditor::TTab*>(w))
        return PrintTab;
    if (qobject_cast<const Gauge*>(w))
        return PrintGauge;
    if (qobject_cast<const UpDown*>(w))
        return PrintUpDown;
    if (qobject_cast<const RadioGroup*>(w))
        return PrintRadioGroup;
    if (qobject_cast<const QGroupBox*>(w))
        return PrintGroupBox;
    if (qobject_cast<const QTabWidget*>(w))
        return PrintPageControl;
    if (qobject_cast<const QLabel*>(w))
        return PrintLabel;
    if (qobject_cast<const QRadioButton*>(w))
        return PrintRadioButton;
    if (qobject_cast<const QCheckBox*>(w))
        return PrintCheckBox;
    if (qobject_cast<const QComboBox*>(w))
        return PrintComboBox;
    if (qobject_cast<const QPushButton*>(w))
        return PrintButton;
    if (qobject_cast<const QToolButton*>(w))
        return PrintSpeedButton;
    if (qobject_cast<const QLineEdit*>(w))
        return PrintEdit;
    if (qobject_cast<const QStatusBar*>(w))
        return PrintStatusBar;
    if (qobject_cast<const QTextEdit*>(w))
        return PrintMemo;
    return PrintOther;
}

void TMainForm::preparePrint(QWidget* container)
{
    const QColor face = buttonFace();
    if (container == client) {
        setWindowColour(client, Qt::white);
        setWindowColour(statusBar(), Qt::white);
        // Controls of no use on paper, found by their names in whichever part owns them.
        for (const char* name : {"LabelPocetProgramovani", "GroupBoxToolBar", "CheckBoxProgHned", "LabelConnection",
                                 "LabelCongruence"})
            hideForPrint(*this, PrintFixed, client->findChild<QWidget*>(QLatin1String(name)), face);
    }
    prepareChildren(*this, container, face);
}

void TMainForm::restorePrint()
{
    setWindowColour(client, buttonFace());
    setWindowColour(statusBar(), buttonFace());
    for (int i = 0; i < printChanges.count(); ++i) {
        auto* entry = static_cast<CPrintObj*>(printChanges.objectAt(i));
        switch (entry->kind) {
        case PrintFixed:
        case PrintUpDown:
        case PrintButton:
        case PrintGauge:
        case PrintBitBtn:
            entry->control->show();
            break;
        case PrintLabel:
            entry->control->setAutoFillBackground(true);
            break;
        case PrintRadioGroup:
        case PrintCheckBox:
        case PrintGroupBox:
            setWindowColour(entry->control, entry->oldColor);
            break;
        case PrintTab:
            setPrintRendering(static_cast<curveeditor::TTab*>(entry->control), false);
            break;
        default:
            break;
        }
    }
    printChanges.deleteAll();
}

void TMainForm::printSettings()
{
    QPrinter printer(QPrinter::HighResolution);
    // The window is wider than tall: landscape uses more of the page.
    printer.setPageOrientation(client->width() > client->height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    const bool chosen = choosePrinter ? choosePrinter(printer) : QPrintDialog(&printer, this).exec() == QDialog::Accepted;
    if (!chosen)
        return;
    binding_->focusRest();
    preparePrint(client);
    renderToPage(*this, printer);
    restorePrint();
}

}  // namespace app
