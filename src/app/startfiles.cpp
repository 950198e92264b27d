// What the window does beyond the designed start: files named on the command line (or
// double-clicked in a file manager) are opened once the window stands, and the first
// serial port refused for lack of permission is explained.

#include <QFileInfo>

#include "app/mainform.h"
#include "app/playerpanel.h"
#include "lang/messagebox.h"

namespace app {
namespace {

// In pieces: a three-language text holds at most 255 characters a language.
const lang::LangText kPortRefused{
    "###The serial port COM%1 cannot be opened: permission denied."
    "##Die serielle Schnittstelle COM%1 kann nicht geöffnet werden: keine Berechtigung."
    "##Sériový port COM%1 nelze otevřít: přístup odepřen."};
const lang::LangText kJoinDialout{
    "###To use serial ports, your user must be a member of the group \"dialout\". "
    "Type this command in a terminal:"
    "##Für serielle Schnittstellen muss Ihr Benutzer Mitglied der Gruppe \"dialout\" sein. "
    "Geben Sie in einem Terminal diesen Befehl ein:"
    "##Pro práci se sériovými porty musí být váš uživatel členem skupiny \"dialout\". "
    "Zadejte v terminálu tento příkaz:"};
const char* const kJoinCommand = "sudo usermod -aG dialout $USER";
const lang::LangText kLoginAgain{
    "###Then log out and log in again: the new group applies from the next login on."
    "##Melden Sie sich danach ab und wieder an: die neue Gruppe gilt erst ab der nächsten Anmeldung."
    "##Potom se odhlaste a znovu přihlaste: nová skupina platí až od příštího přihlášení."};
const lang::LangText kPortPermissionCaption{"###Serial port##Serielle Schnittstelle##Sériový port"};

bool isLogFile(const QString& path) { return path.endsWith(QLatin1String(".ignlog"), Qt::CaseInsensitive); }

}  // namespace

void TMainForm::openStartFiles(const QStringList& files)
{
    bool parametersOpened = false;
    bool logOpened = false;
    for (const QString& file : files) {
        const QString path = QFileInfo(file).absoluteFilePath();
        if (isLogFile(path)) {
            if (!logOpened)
                playLogFile(path);
            logOpened = true;
        } else if (!parametersOpened) {
            // As a dropped file: both dialogs take the path, then the load procedure.
            parametersOpened = true;
            dialogFileName = path;
            loadFile(path);
        }
    }
}

void TMainForm::playLogFile(const QString& path)
{
    if (monitorLog.mode() != monitorlog::Stopped)
        stopLog();
    player_->setShown(true);
    const auto dialog = std::exchange(logFileDialog, [path](bool, const QString&) { return path; });
    logButton(1);
    logFileDialog = dialog;
}

void TMainForm::explainPortPermission()
{
    if (permissionExplained_)
        return;
    const int port = link->permissionRefusedPort();
    if (port == 0)
        return;
    permissionExplained_ = true;  // before the box: ticks go on while it is open
    std::string text(kPortRefused.pick());
    text.replace(text.find("%1"), 2, std::to_string(port));
    text += "\n\n" + std::string(kJoinDialout.pick()) + "\n\n    " + kJoinCommand + "\n\n" +
            std::string(kLoginAgain.pick());
    lang::showMessageBox(text, kPortPermissionCaption.pick(), lang::MbOk | lang::MbIconWarning);
}

}  // namespace app
