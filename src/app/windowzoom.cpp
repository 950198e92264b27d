// The window's side of the zoom: the View menu, the zoom chosen at start (the one that
// fits the screen unless the settings name one) and the window's size that follows it.

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "app/mainform.h"
#include "app/zoom.h"

namespace app {

void TMainForm::createViewMenu()
{
    MenuView = new QMenu(QStringLiteral("&View"), this);
    MenuView->setObjectName(QStringLiteral("MenuView"));
    menuBar()->insertMenu(MenuLanguage->menuAction(), MenuView);
    auto* group = new QActionGroup(this);
    for (int percent : kZoomChoices) {
        QAction* item = MenuView->addAction(QStringLiteral("%1 %").arg(percent));
        item->setObjectName(QStringLiteral("MenuZoom%1").arg(percent));
        item->setCheckable(true);
        item->setData(percent);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, percent] { setZoom(percent); });
    }
    MenuView->addSeparator();
    QAction* fit = MenuView->addAction(QStringLiteral("&Fit to screen"));
    fit->setObjectName(QStringLiteral("MenuZoomFit"));
    fit->setCheckable(true);
    fit->setData(0);
    group->addAction(fit);
    connect(fit, &QAction::triggered, this, [this] { setZoom(0); });
    zoom_ = std::make_unique<ZoomController>(client, statusBar(), curveEditor);
}

double TMainForm::zoom() const { return zoom_ ? zoom_->factor() : 1.0; }

QRect TMainForm::availableScreenArea() const
{
    if (options_.availableArea)
        return options_.availableArea();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, kDesignOuterSize.width(), kDesignOuterSize.height());
}

void TMainForm::setZoom(int percent)
{
    settings.zoom = percent;
    const QRect area = availableScreenArea();
    const double factor = percent > 0 ? percent / 100.0 : fittingZoom(area.size());
    zoom_->apply(factor);
    for (QAction* item : MenuView->actions())
        if (item->isCheckable())
            item->setChecked(item->data().toInt() == percent);
    // The window takes the size of the whole zoomed design, as far as the screen allows;
    // so a window restored smaller than that opens at this size instead.
    const QSize frame = frameGeometry().size() - geometry().size();
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize wanted(client->width(), client->height() + menuHeight + statusBar()->height());
    const QSize room = area.size() - frame;
    const QSize size(std::min(wanted.width(), room.width()), std::min(wanted.height(), room.height()));
    // The window's minimum follows the zoomed status bar now, not when it is next shown.
    for (QWidget* w : {static_cast<QWidget*>(statusBar()), static_cast<QWidget*>(this)})
        if (w->layout()) {
            w->layout()->invalidate();
            w->layout()->activate();
        }
    if (size != this->size())
        resize(size);
    // Kept on the screen's area after growing.
    const int left = std::clamp(x(), area.left(), std::max(area.left(), area.right() + 1 - size.width() - frame.width()));
    const int top = std::clamp(y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height() - frame.height()));
    if (QPoint(left, top) != pos())
        move(left, top);
    saveSettings();
}

}  // namespace app
