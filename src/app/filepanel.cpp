// The file part of the main window: its tool buttons and the File menu.

#include "app/filepanel.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "app/placement.h"

namespace app {
namespace {

bool ctrlHeld() { return QApplication::keyboardModifiers() & Qt::ControlModifier; }

}  // namespace

FilePanel::~FilePanel() = default;

void FilePanel::createToolButtons(QWidget* tb)
{
    SpeedButtonNew = speedButton(tb, "SpeedButtonNew", 8, 12, 24, 23, "new", "New|Set default parametrs");
    SpeedButtonOpen =
        speedButton(tb, "SpeedButtonOpen", 40, 12, 24, 23, "open", "Open|Open file with parametrs");
    SpeedButtonSave =
        speedButton(tb, "SpeedButtonSave", 73, 12, 24, 23, "save", "Save|Save parametrs to file");
    SpeedButtonPrint =
        speedButton(tb, "SpeedButtonPrint", 106, 12, 24, 23, "print", "Print|Print parametrs");
}

void FilePanel::createMenu(QMenuBar* bar)
{
    MenuFile = menu(bar, "MenuFile", "&File");
    MenuNew = item(MenuFile, "MenuNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    MenuOpen = item(MenuFile, "MenuOpen", "&Open", QKeySequence(Qt::Key_F3));
    MenuOpenExeDir = item(MenuFile, "MenuOpenExeDir", "Open from exe dir", QKeySequence(Qt::CTRL | Qt::Key_F3));
    MenuSave = item(MenuFile, "MenuSave", "&Save", QKeySequence(Qt::Key_F2));
    MenuSaveExeDir = item(MenuFile, "MenuSaveExeDir", "Save to exe dir", QKeySequence(Qt::CTRL | Qt::Key_F2));
    MenuFile->addSeparator();
    for (int i = 0; i < 9; ++i) {
        const QByteArray name = "MenuHistory" + QByteArray::number(i + 1);
        MenuHistory[std::size_t(i)] = item(MenuFile, name.constData(), QString());
        MenuHistory[std::size_t(i)]->setVisible(false);
    }
    historySeparator = MenuFile->addSeparator();
    historySeparator->setObjectName(QStringLiteral("MenuHistoryEnd"));
    historySeparator->setVisible(false);
    MenuPrint = item(MenuFile, "MenuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P));
    MenuExit = item(MenuFile, "MenuExit", "E&xit");
}

void FilePanel::connectCommands(Commands c)
{
    connect(MenuNew, &QAction::triggered, this, [run = c.newSet] { run(); });
    connect(SpeedButtonNew, &QToolButton::clicked, this, [run = c.newSet] { run(); });
    connect(MenuOpen, &QAction::triggered, this, [open = c.open] { open(false); });
    connect(MenuOpenExeDir, &QAction::triggered, this, [open = c.open] { open(true); });
    connect(SpeedButtonOpen, &QToolButton::clicked, this, [open = c.open] { open(ctrlHeld()); });
    connect(MenuSave, &QAction::triggered, this, [save = c.save] { save(false); });
    connect(MenuSaveExeDir, &QAction::triggered, this, [save = c.save] { save(true); });
    connect(SpeedButtonSave, &QToolButton::clicked, this, [save = c.save] { save(ctrlHeld()); });
    for (int i = 0; i < int(MenuHistory.size()); ++i)
        connect(MenuHistory[std::size_t(i)], &QAction::triggered, this, [open = c.openRecent, i] { open(i + 1); });
    connect(MenuPrint, &QAction::triggered, this, [run = c.print] { run(); });
    connect(SpeedButtonPrint, &QToolButton::clicked, this, [run = c.print] { run(); });
    connect(MenuExit, &QAction::triggered, this, [run = c.exit] { run(); });
}

void FilePanel::showHistory(const std::vector<HistoryItem>& items, bool separatorVisible)
{
    for (std::size_t i = 0; i < MenuHistory.size(); ++i) {
        const HistoryItem shown = i < items.size() ? items[i] : HistoryItem{};
        QString caption = shown.caption;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a file name's "&" is no accelerator
        MenuHistory[i]->setText(caption);
        MenuHistory[i]->setVisible(shown.visible);
    }
    historySeparator->setVisible(separatorVisible);
}

}  // namespace app
