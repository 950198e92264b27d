// The update check: about two seconds after start the download thread fetches the
// update description; the timer then picks the recommendation for this build and offers
// it in the update dialog, unless the user declined that update before.

#include <QLabel>
#include <QUrl>

#include "app/devicepanel.h"
#include "app/mainform.h"
#include "app/modal.h"
#include "lang/langtext.h"
#include "lang/messagebox.h"
#include "storage/inifile.h"
#include "update/downloader.h"
#include "update/formpatch.h"
#include "update/patchdescription.h"

namespace app {
namespace {

constexpr int kStartDelayMs = 2000;

// The server: TAVRIN_UPDATE_BASE, else "UpdateServer" of the settings, else the maker's.
QString updateBase(const storage::SettingsPaths& paths)
{
    QString base = qEnvironmentVariable("TAVRIN_UPDATE_BASE");
    if (!base.isEmpty())
        return base;
    storage::IniFile ini;
    if (ini.load(paths.applicationIni))
        base = QString::fromStdString(ini.readString("BASIC", "UpdateServer", ""));
    return base.isEmpty() ? QStringLiteral("https://korvelan.example") : base;
}

QString text(const lang::LangText& t)
{
    const std::string_view s = t.pick();
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// How the check ended, shown in status panel 0 for a while: the program's own texts.
const lang::LangText kNoUpdate{"###No update available##Keine Aktualisierung verfügbar##Žádná aktualizace není k dispozici"};
const lang::LangText kServerUnreachable{
    "###Update server not reachable##Aktualisierungsserver nicht erreichbar##Server aktualizací není dostupný"};
constexpr int kResultShownMs = 6000;

// Returns whether the update dialog was shown.
bool offerUpdate(TMainForm& form, const std::string& description)
{
    const int language = lang::currentLanguage();
    const auto offer = update::chooseUpdate(description, form.compileDate, language);
    if (!offer)
        return false;
    form.newVersionText = std::to_string(offer->number);
    form.device().setStatusText(2, 
        QString::fromStdString(devlink::buildProgramInfoText(form.compileDate, form.newVersionText)));
    if (!update::shouldOffer(*offer, form.settings.updateNumber))
        return false;

    update::TFormPatch dialog(*offer, language, [&form](const QString& web) { openWebAddress(form, web); }, &form);
    dialog.move(form.x() + (form.width() - dialog.width()) / 2, form.y() + (form.height() - dialog.height()) / 2);
    const int result = showModal(form, dialog);
    if (result == update::TFormPatch::DoNotRemind) {
        form.settings.updateNumber = offer->number;
        form.saveSettings();
    } else if (result == update::TFormPatch::Download) {
        // The program closes only when the download really went to the browser.
        if (openWebAddress(form, QString::fromStdString(offer->downloadAddress))) {
            static const lang::LangText kCaption{"###Downloading####Stahování"};
            lang::showMessageBox(update::downloadNote(offer->downloadAddress).pick(), kCaption.pick(),
                                 lang::MbOk | lang::MbIconInformation);
            form.close();
        }
    }
    form.device().setStatusText(0, {});
    return true;
}

}  // namespace

bool openWebAddress(TMainForm& form, const QString& address)
{
    const QUrl url(address.trimmed());
    const bool web = url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
    if (web && form.openUrl(url))
        return true;
    static const lang::LangText kLinkError{
        "###Error by opening www link##Fehler beim öffnen der www Link##Chyba při otevírání www odkazu"};
    lang::showMessageBox(std::string(kLinkError.pick()) + " " + address.toStdString() + " !", "",
                         lang::MbOk | lang::MbIconWarning);
    return false;
}

void TMainForm::startUpdateThread()
{
    // The check's TLS plugin loads now, while no port is open (see update::loadTlsBackend).
    if (!noUpdateCheck)
        update::loadTlsBackend();
    updateDownloader.start(update::descriptionUrl(updateBase(settingsPaths)));
}

void TMainForm::stopUpdateThread() { updateDownloader.stop(); }

void TMainForm::updateTick()
{
    const int state = updateDownloader.state.load(std::memory_order_acquire);
    if (updateResultExpiry > 0 && updateResultExpiry < tickCount) {
        updateResultExpiry = 0;
        if (device_->statusText(0) == updateResultText)
            device_->setStatusText(0, {});  // unless a hint has taken the panel since
    }
    if (state == update::Finished) {
        // Every check ends with a word for the user: the dialog, or a result that clears.
        updateDownloader.state.store(update::Processed, std::memory_order_release);
        const bool answered = updateDownloader.hasData();
        if (answered && offerUpdate(*this, updateDownloader.data()))
            return;
        updateResultText = text(answered ? kNoUpdate : kServerUnreachable);
        device_->setStatusText(0, updateResultText);
        updateResultExpiry = kResultShownMs / 50 + tickCount;
        return;
    }
    if (state == update::Idle && msClock() > kStartDelayMs && !noUpdateCheck) {
        static const lang::LangText kTrying{"###Trying updates...####Zjišťuji aktualizace..."};
        device_->setStatusText(0, text(kTrying));
        updateDownloader.request();
    }
}

}  // namespace app
