#include "cli/commands.h"

#include <sstream>

#include "cli/device_commands.h"
#include "cli/link_commands.h"
#include "cli/log_commands.h"
#include "cli/notify_command.h"
#include "cli/storage_commands.h"
#include "lang/langtext.h"
#include "storage/inifile.h"
#include "storage/settings.h"
#include "util/buildstamp.h"

namespace cli {

const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"show", "###print the settings of a parameter file (--json for machines)##die Einstellungen einer Parameterdatei ausgeben (--json für Programme)##vypsat nastavení souboru parametrů (--json pro programy)", runShow},
        {"convert", "###rewrite a parameter file in the current format##eine Parameterdatei im aktuellen Format neu schreiben##přepsat soubor parametrů v aktuálním formátu", runConvert},
        {"diff", "###list the settings in which two parameter files differ##die Einstellungen auflisten, in denen sich zwei Parameterdateien unterscheiden##vypsat nastavení, v nichž se dva soubory parametrů liší", runDiff},
        {"ports", "###list the serial ports and their devices##die seriellen Schnittstellen und ihre Geräte auflisten##vypsat sériové porty a jejich zařízení", runPorts},
        {"identify", "###search the ports until a unit answers and name it##die Schnittstellen absuchen, bis eine Einheit antwortet, und sie nennen##prohledat porty, dokud jednotka neodpoví, a pojmenovat ji", runIdentify},
        {"read", "###read the unit's settings into a parameter file##die Einstellungen der Einheit in eine Parameterdatei lesen##přečíst nastavení jednotky do souboru parametrů", runRead},
        {"verify", "###compare the unit's settings with a parameter file##die Einstellungen der Einheit mit einer Parameterdatei vergleichen##porovnat nastavení jednotky se souborem parametrů", runVerify},
        {"program", "###program a parameter file into the unit##eine Parameterdatei in die Einheit programmieren##naprogramovat soubor parametrů do jednotky", runProgram},
        {"monitor", "###print the unit's live values (and record them to a monitor log)##die laufenden Werte der Einheit ausgeben (und in ein Monitorprotokoll aufzeichnen)##vypisovat živé hodnoty jednotky (a zaznamenat je do záznamu monitoru)", runMonitor},
        {"log", "###show, export as CSV or plot a recorded monitor log##ein aufgezeichnetes Monitorprotokoll anzeigen, als CSV exportieren oder zeichnen##zobrazit, exportovat do CSV nebo vykreslit zaznamenaný záznam monitoru", runLog},
        {"notify-port", "###tell the running window that another program borrows or returns a port##dem laufenden Fenster melden, dass ein anderes Programm eine Schnittstelle leiht oder zurückgibt##oznámit běžícímu oknu, že jiný program si půjčuje nebo vrací port", runNotifyPort},
    };
    return list;
}

const Command* findCommand(std::string_view name)
{
    for (const Command& command : commands())
        if (command.name == name)
            return &command;
    return nullptr;
}

std::string versionText() { return std::string("Tavrin 109 (built ") + util::buildDate() + " " + util::buildTime() + ")"; }

namespace {

// Three-language texts hold at most 255 characters a language: the usage in pieces.
const lang::LangText kUsage[] = {
    "###Usage: tavrin [ENGLISH | DEUTSCH | CESKY | nopatchcheck] [--lang en|de|cs] [--link-log FILE]\n"
    "              [FILE.ign | FILE.ignlog]\n"
    "##Aufruf: tavrin [ENGLISH | DEUTSCH | CESKY | nopatchcheck] [--lang en|de|cs] [--link-log DATEI]\n"
    "              [DATEI.ign | DATEI.ignlog]\n"
    "##Použití: tavrin [ENGLISH | DEUTSCH | CESKY | nopatchcheck] [--lang en|de|cs] [--link-log SOUBOR]\n"
    "              [SOUBOR.ign | SOUBOR.ignlog]\n",
    "###       tavrin [--lang en|de|cs] <command> [arguments]\n"
    "       tavrin --help | --version\n\n"
    "##       tavrin [--lang en|de|cs] <Befehl> [Argumente]\n"
    "       tavrin --help | --version\n\n"
    "##       tavrin [--lang en|de|cs] <příkaz> [argumenty]\n"
    "       tavrin --help | --version\n\n",
    "###Without a command the configuration window of the TAVRIN-X ignition unit opens; a\n"
    "parameter file given is opened in it, a monitor log is played.\n"
    "##Ohne Befehl öffnet sich das Konfigurationsfenster der Zündung TAVRIN-X; eine angegebene\n"
    "Parameterdatei wird darin geöffnet, ein Monitorprotokoll abgespielt.\n"
    "##Bez příkazu se otevře konfigurační okno zapalování TAVRIN-X; zadaný soubor parametrů\n"
    "se v něm otevře, záznam monitoru se přehraje.\n"};
const lang::LangText kCommandsHeading{
    "###Commands (each has --help):##Befehle (jeder hat --help):##Příkazy (každý má --help):"};

// A summary written as a three-language text is shown in the current language.
std::string_view summaryText(std::string_view summary, lang::LangText& holder)
{
    if (!summary.starts_with("###"))
        return summary;
    holder = lang::LangText(summary);
    return holder.pick();
}

}  // namespace

std::string helpText()
{
    std::ostringstream out;
    for (const lang::LangText& part : kUsage)
        out << part.pick();
    if (!commands().empty()) {
        out << '\n' << kCommandsHeading.pick() << '\n';
        for (const Command& command : commands()) {
            lang::LangText holder;
            out << "  " << command.name << std::string(12 > command.name.size() ? 12 - command.name.size() : 1, ' ')
                << summaryText(command.summary, holder) << '\n';
        }
    }
    return out.str();
}

int settingsLanguage()
{
    const std::filesystem::path folder = storage::settingsFolderPath();
    storage::IniFile ini;
    if (folder.empty() || !ini.load(folder / "application.ini"))
        return lang::English;
    const int language =
        storage::languageFromCode(ini.readInteger(storage::kSettingsSection, "Language", lang::English));
    return language < 0 ? lang::English : language;
}

}  // namespace cli
