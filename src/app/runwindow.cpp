#include "app/runwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "app/desktop.h"
#include "app/mainform.h"
#include "lang/messagebox.h"
#include "storage/settings.h"

namespace app {
namespace {

QMessageBox::StandardButtons buttonsFor(unsigned flags)
{
    switch (flags & lang::MbButtonMask) {
    case lang::MbOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case lang::MbYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case lang::MbYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconFor(unsigned flags)
{
    switch (flags & lang::MbIconMask) {
    case lang::MbIconError:
        return QMessageBox::Critical;
    case lang::MbIconQuestion:
        return QMessageBox::Question;
    case lang::MbIconWarning:
        return QMessageBox::Warning;
    case lang::MbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int resultFor(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return lang::IdYes;
    case QMessageBox::No:
        return lang::IdNo;
    case QMessageBox::Cancel:
        return lang::IdCancel;
    default:
        return lang::IdOk;
    }
}

}  // namespace

void installMessageBoxes()
{
    lang::setMessageBoxHook([](std::string_view text, std::string_view caption, unsigned flags) {
        QMessageBox box(iconFor(flags), QString::fromUtf8(caption.data(), qsizetype(caption.size())),
                        QString::fromUtf8(text.data(), qsizetype(text.size())), buttonsFor(flags));
        if (box.windowTitle().isEmpty())
            box.setWindowTitle(QStringLiteral("Tavrin"));
        return resultFor(box.exec());
    });
}

int runWindow(int argc, char** argv, const WindowStart& start)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    // The desktop entry's name, so that the desktop shows the window under its launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrin"));
    QApplication::setWindowIcon(programIcon());
    installMessageBoxes();
    StartOptions options;
    options.arguments = QApplication::arguments().mid(1);
    if (const qsizetype at = options.arguments.indexOf(QStringLiteral("--link-log")); at >= 0) {
        options.linkLogPath = options.arguments.value(at + 1);
        options.arguments.remove(at, std::min<qsizetype>(2, options.arguments.size() - at));
    }
    options.testFlagsPath = defaultTestFlagsPath();
    options.notifySocketPath =
        QString::fromStdString(storage::notifySocketPath(storage::settingsPaths().folder).string());
    options.language = start.language;
    for (qsizetype at = options.arguments.indexOf(QStringLiteral("--lang")); at >= 0;
         at = options.arguments.indexOf(QStringLiteral("--lang")))
        options.arguments.remove(at, std::min<qsizetype>(2, options.arguments.size() - at));
    options.arguments.removeIf([](const QString& a) { return a.startsWith(QLatin1String("--lang=")); });
    TMainForm window(options);
    window.FormCreate();
    window.show();
    QStringList files;
    for (const std::string& file : start.files)
        files.push_back(QString::fromLocal8Bit(file.c_str()));
    if (!files.isEmpty())  // after the window is shown, so that its message boxes have a parent on screen
        QTimer::singleShot(0, &window, [&window, files] { window.openStartFiles(files); });
    return QApplication::exec();
}

}  // namespace app
