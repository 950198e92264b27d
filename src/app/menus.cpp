// The menu bar: items, shortcuts and the commands that belong to the window itself
// (language, the undo and redo items of the parameter binding, the monitor player's visibility, the advance steps).

#include <QActionGroup>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>
#include <QUrl>

#include "app/devicepanel.h"
#include "app/filepanel.h"
#include "app/playerpanel.h"
#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "app/modal.h"
#include "app/placement.h"
#include "lang/messagebox.h"

namespace app {
void TMainForm::createMenus()
{
    QMenuBar* bar = menuBar();
    file_->createMenu(bar);
    device_->createPortMenu(bar);
    device_->createDeviceMenu(bar);

    MenuTools = menu(bar, "MenuTools", "&Tools");
    MenuAdvanceMinus = item(MenuTools, "MenuAdvanceMinus", "Advance -", QKeySequence(Qt::Key_F4));
    MenuAdvancePlus = item(MenuTools, "MenuAdvancePlus", "Advance +", QKeySequence(Qt::Key_F5));
    binding_->createUndoMenuItems(MenuTools);
    player_->createMenuItem(MenuTools);

    MenuLanguage = menu(bar, "MenuLanguage", "&Language");
    MenuEnglish = item(MenuLanguage, "MenuEnglish", "&English");
    MenuGerman = item(MenuLanguage, "MenuGerman", "&German - Deutsch");
    MenuCzech = item(MenuLanguage, "MenuCzech", "&Czech - česky");
    for (QAction* a : {MenuEnglish, MenuGerman, MenuCzech})
        a->setCheckable(true);

    MenuHelp = menu(bar, "MenuHelp", "&Help");
    MenuContens = item(MenuHelp, "MenuContens", "&Contens", QKeySequence(Qt::Key_F1));
    MenuAbout = item(MenuHelp, "MenuAbout", "&About...");

    connect(MenuAdvancePlus, &QAction::triggered, this, [this] { MenuAdvanceClick(1); });
    connect(MenuAdvanceMinus, &QAction::triggered, this, [this] { MenuAdvanceClick(-1); });
    connect(MenuContens, &QAction::triggered, this, &TMainForm::MenuContensClick);
    connect(MenuAbout, &QAction::triggered, this, &TMainForm::MenuAboutClick);
    connect(MenuEnglish, &QAction::triggered, this, [this] { setLanguage(lang::English); });
    connect(MenuGerman, &QAction::triggered, this, [this] { setLanguage(lang::German); });
    connect(MenuCzech, &QAction::triggered, this, [this] { setLanguage(lang::Czech); });
    // The window's shortcuts come before the edit boxes' own keys (Ctrl+Z undoes the
    // parameter set, not the typing in the box).
    for (QLineEdit* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == device_->congruenceLabel() && event->type() == QEvent::MouseButtonRelease) {
        showDifferences();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : findChildren<QAction*>())
            if (action->shortcuts().contains(pressed) && action->isEnabled())
                return true;  // left unaccepted: the shortcut runs
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::setLanguage(int language)
{
    lang::setCurrentLanguage(language);
    applyLanguageTexts();
    binding_->fillControls();
}

}  // namespace app

namespace app {

QUrl manualsUrl(int language)
{
    QString base = qEnvironmentVariable("TAVRIN_WEB_BASE");
    if (base.isEmpty())
        base = QStringLiteral("https://korvelan.example");
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + (language == lang::Czech ? QStringLiteral("/cz/stahnout/manuals")
                                                 : QStringLiteral("/en/stahnout/manuals")));
}

void TMainForm::MenuContensClick() { openWebAddress(*this, manualsUrl(lang::currentLanguage()).toString()); }

}  // namespace app
