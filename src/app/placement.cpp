// The control helpers every part of the window places its controls with.

#include "app/placement.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

#include "util/resourcebitmap.h"

namespace app {

QLabel* label(QWidget* parent, const char* name, int x, int y, const QString& text, int pixels,
              bool bold, int w, int h)
{
    auto* l = new QLabel(text, parent);
    l->setFont(pixelFont(pixels, bold));
    l->setProperty("designPixels", pixels);
    // A label without a given width follows its text, as the window's labels do.
    l->setProperty("autoSize", w < 0);
    return place(l, name, x, y, w, h);
}

void setBackground(QWidget* widget, std::uint32_t bgr)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, bgrColour(bgr));
    widget->setPalette(palette);
}

QGroupBox* group(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& caption)
{
    auto* g = new QGroupBox(caption, parent);
    return place(g, name, x, y, w, h);
}

QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int w, const QString& text)
{
    auto* e = new QLineEdit(text, parent);
    e->setAlignment(Qt::AlignLeft);
    return place(e, name, x, y, w, 21);
}

UpDown* upDown(QWidget* parent, const char* name, QLineEdit* buddy, int x, int y, int minimum, int maximum,
               int step)
{
    auto* u = new UpDown(parent, buddy, minimum, maximum, step);
    return place(u, name, x, y, 16, 21);
}

QCheckBox* check(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setAutoFillBackground(true);
    return place(c, name, x, y, w, h);
}

// The tool buttons' icons are the program's own (resources/icons): asking the style for
// standard icons searches the desktop's icon themes, thousands of file look-ups at start.
QToolButton* speedButton(QWidget* parent, const char* name, int x, int y, int w, int h, const char* icon,
                         const QString& hint)
{
    util::registerResources();
    auto* b = new QToolButton(parent);
    b->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(icon))));
    b->setAutoRaise(true);
    b->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    b->setStatusTip(hint.section(QLatin1Char('|'), 1));
    return place(b, name, x, y, w, h);
}

QPushButton* button(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
                    const QString& hint)
{
    auto* b = new QPushButton(text, parent);
    if (!hint.isEmpty()) {
        b->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        b->setStatusTip(hint.section(QLatin1Char('|'), 1));
    }
    return place(b, name, x, y, w, h);
}

QMenu* menu(QMenuBar* bar, const char* name, const QString& title)
{
    QMenu* m = bar->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* item(QMenu* menu, const char* name, const QString& text, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

}  // namespace app
