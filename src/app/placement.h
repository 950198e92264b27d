#pragma once
// Placing the window's controls at their design positions (96 dpi pixels): each control
// gets its name from the window definition and remembers its design rectangle, which the
// zoom scales. Every part of the window builds its controls with these.

#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/controls.h"

class QAction;
class QMenu;
class QMenuBar;

namespace app {

// Names `widget`, places it at (x, y), sized w x h (its own size where one is -1).
template <typename W>
W* place(W* widget, const char* name, int x, int y, int w = -1, int h = -1)
{
    widget->setObjectName(QString::fromLatin1(name));
    if (w < 0 || h < 0) {
        widget->adjustSize();
        widget->move(x, y);
        if (w >= 0)
            widget->resize(w, widget->height());
        if (h >= 0)
            widget->resize(widget->width(), h);
    } else {
        widget->setGeometry(x, y, w, h);
    }
    widget->setProperty("designRect", widget->geometry());  // what the zoom scales
    return widget;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, const QString& text, int pixels = 11,
              bool bold = false, int w = -1, int h = -1);
void setBackground(QWidget* widget, std::uint32_t bgr);
QGroupBox* group(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& caption = {});
QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int w, const QString& text);
UpDown* upDown(QWidget* parent, const char* name, QLineEdit* buddy, int x, int y, int minimum, int maximum,
               int step = 1);
QCheckBox* check(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text);
// A flat tool button with one of the program's icons; `hint` is "tooltip|status text".
QToolButton* speedButton(QWidget* parent, const char* name, int x, int y, int w, int h, const char* icon,
                         const QString& hint);
QPushButton* button(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
                    const QString& hint = {});
// A named menu of the menu bar and a named item of a menu.
QMenu* menu(QMenuBar* bar, const char* name, const QString& title);
QAction* item(QMenu* menu, const char* name, const QString& text, const QKeySequence& shortcut = {});

}  // namespace app
