// The zoom: design rectangles and font heights recorded once, scaled on every change.

#include "app/zoom.h"

#include <QLabel>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "app/controls.h"
#include "curveeditor/widget/tab.h"

namespace app {
namespace {

int scaled(int design, double factor) { return int(std::lround(design * factor)); }

// Edges are scaled, not sizes, so that neighbours that touch in the design still touch.
QRect scaled(const QRect& r, double factor)
{
    const int left = scaled(r.left(), factor), top = scaled(r.top(), factor);
    return {left, top, scaled(r.left() + r.width(), factor) - left, scaled(r.top() + r.height(), factor) - top};
}

bool insideEditor(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w->inherits("curveeditor::TTab"))
            return true;
    return false;
}

}  // namespace

double fittingZoom(QSize available)
{
    const double fit = std::min(double(available.width()) / kDesignOuterSize.width(),
                                double(available.height()) / kDesignOuterSize.height());
    if (fit >= 1.0)
        return 1.0;
    return std::max(0.5, std::floor(fit * 100.0) / 100.0);
}

ZoomController::ZoomController(QWidget* client, QStatusBar* statusBar, curveeditor::TTab* editor)
    : client_(client), clientSize_(client->size()), statusBar_(statusBar), editor_(editor)
{
    for (QWidget* w : client->findChildren<QWidget*>()) {
        if (insideEditor(w))
            continue;
        // Controls placed by the window's arrangement; the parts of composite controls
        // (radio buttons of a group, arrows of an up/down) follow their owner.
        if (w->property("designRect").isValid())
            placed_.push_back({w, w->property("designRect").toRect()});
        if (w->testAttribute(Qt::WA_SetFont) && w->font().pixelSize() > 0)
            fonts_.push_back({w, w->font().pixelSize()});
        if (auto* button = qobject_cast<QToolButton*>(w))
            icons_.push_back({button, QRect(QPoint(0, 0), button->iconSize())});
    }
    fonts_.push_back({client, client->font().pixelSize() > 0 ? client->font().pixelSize() : 11});
    if (statusBar_) {
        statusHeight_ = statusBar_->height();
        fonts_.push_back({statusBar_, statusBar_->font().pixelSize() > 0 ? statusBar_->font().pixelSize() : 11});
        for (QLabel* panel : statusBar_->findChildren<QLabel*>())
            panels_.push_back({panel, QRect(0, 0, panel->width(), 0)});
    }
}

void ZoomController::apply(double factor)
{
    factor_ = factor;
    client_->setFixedSize(scaled(clientSize_.width(), factor), scaled(clientSize_.height(), factor));
    for (const Font& f : fonts_)
        if (f.widget) {
            QFont font = f.widget->font();
            font.setPixelSize(std::max(1, scaled(f.pixels, factor)));
            f.widget->setFont(font);
        }
    for (const Placed& p : placed_)
        if (p.widget) {
            p.widget->setGeometry(scaled(p.rect, factor));
            p.widget->setProperty("zoom", factor);
            if (auto* group = qobject_cast<RadioGroup*>(p.widget.data()))
                group->setZoom(factor);
            // A label whose text the program has set follows its zoomed text.
            if (auto* label = qobject_cast<QLabel*>(p.widget.data());
                label && label->property("autoSize").toBool() && label->property("fullText").isValid())
                fitLabel(label);
        }
    for (const Placed& icon : icons_)
        if (auto* button = qobject_cast<QToolButton*>(icon.widget.data()))
            button->setIconSize(scaled(icon.rect, factor).size());  // drawn at the size, not stretched
    if (statusBar_) {
        statusBar_->setFixedHeight(scaled(statusHeight_, factor));
        for (const Placed& p : panels_)
            if (p.widget)
                p.widget->setFixedWidth(scaled(p.rect.width(), factor));
    }
    if (editor_)
        editor_->SetZoom(factor);
}

}  // namespace app
