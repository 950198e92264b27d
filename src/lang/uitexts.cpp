#include "lang/uitexts.h"

namespace lang {

const std::array<TextRow, std::size_t(Msg::Count)>& messageTable()
{
    static const std::array<TextRow, std::size_t(Msg::Count)> table{{
        {"", {"Program error!", "Programmierfehler!", "Chyba programování"}},
        {"", {"Verify error!", "Vergleichsfehler", "Chyba verifikace!"}},
        {"", {"Read error!", "Lesefehler", "Chyba čtení!"}},
        {"", {"Programing", "Programmieren", "Programování"}},
        {"", {"Unmatched version of PC and Ignition programs!",
              "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!",
              "Neshodné verze proramu v PC a zapalování!"}},
        {"", {"Unmatched version of PC and Ignition programs!",
              "Programm der Zündung ist nicht kompatibel mit dem Programm am PC!",
              "Neshodné verze proramu v PC a zapalování!"}},
        {"", {"Verify", "Vergleichen", "Verifikace"}},
        {"", {"Read", "Lesen", "Čtení"}},
        {"", {"Saving:", "Speichern:", "Ukládání:"}},
        {"", {"Com opening error!", "Falscher COM-Anschlußes!", "Chyba při otevírání portu Com!"}},
        {"", {"Open file error!", "Fehler beim öffnen der Datei!", "Chyba při otevírání souboru!"}},
        {"", {"Do you want default setting?", "Wollen Sie Standardeinstellungen öffnen?",
              "Chcete nastavit základní hodnoty?"}},
        {"", {"Do you want copy A settings to B ?", "Wollen Sie kopieren A -> B ?",
              "Chcete zkopírovat nastavení A do B ?"}},
        {"", {"Unmatched version of *.ign file!", "Datei *.ign ist nicht kompatiebel!", "Neshodná verze souboru *.ign!"}},
        {"", {"Older version of *.ign file!\n\nSome parameters won't be changed or will be set to default value.\nThey "
              "are parameters which are not in older version or have another structure.",
              "Älter Version von Datendatei *.ign!\n\nEinige Kenndaten werden nicht geändert oder werden implizit Wert "
              "gestellt.\nSie sind die Kenndaten, die in älter Version nicht sind oder andere Struktur haben",
              "Starší verze souboru *.ign!\n\nNěkteré parametry budou nezměněny nebo nataveny na základní "
              "hodnotu.\nJsou to parametry, které v této verzi nebyly obsaženy nebo měly jinou strukturu."}},
        {"", {"Older version of *.ign file!\n\nYou will read all parameters except of SOFT_LIMITER and PILOT_LIGHT_PWM",
              "Älter Version von Datendatei *.ign!\n\nSie werden alle Parameter außer der SOFT_LIMITER und "
              "PILOT_LIGHT_PWM lesen",
              "Starší verze souboru *.ign!\n\nNačtou se všechny parametry s vyjímkou SOFT_LIMITER a PILOT_LIGHT_PWM"}},
        {"", {"Date and time of printing:  ", "Datum und Zeit des Druckes:  ", "Datum a čas tisku:  "}},
        {"", {"Advance", "Vorzündung", "Předstih"}},
        {"", {"Start limiter", "Startbegrenzer", "Startovací omezovač"}},
        {"", {"Soft limiter", "Mildebegrenzer", "Měkký omezovač"}},
        {"", {"Limiter", "Begrenzer", "Omezovač"}},
        {"", {"Gear shift light", "Schaltblitz", "Kontrolka řazení"}},
        {"", {"Clutch master", "Schaltautomat", "Clutch master"}},
        {"", {"Used curve", "Kurve", "Zvolená křivka"}},
        {"", {"A", "A", "A"}},
        {"", {"B", "B", "B"}},
        {"", {"Motor off", "Motor off", "Blokování"}},
        {"", {"Kill switch", "Kill switch", "Kill switch"}},
        {"", {"Number of Programing= ", "Programmierungsanzahl= ", "Počet programování= "}},
        {"", {"Yes", "Ja", "Ano"}},
        {"", {"No", "Nein", "Ne"}},
        {"", {"Pick-up (CPS)", "Geber(CPS)", "Snímač (CPS)"}},
        {"", {" is running", " läuft", " pracuje"}},
        {"", {" no signal", " kein Signal", " bez signálu"}},
        {"", {"No reading!", "Lesen verboten!", "Zákaz čtení!"}},
        {"", {"Polarity of CKPS", "Polarität des CKPS", "Polarita CKPS"}},
        {"", {"Positive", "Positiv", "Kladná"}},
        {"", {"Negative", "Negativ", "Záporná"}},
        {"", {"Input", "Eingang", "Vstup"}},
        {"", {"Input 1 to ground", "Eingang 1 zu Erde", "Vstup 1 uzeměn"}},
        {"", {"Input 2 to ground", "Eingang 2 zu Erde", "Vstup 2 uzeměn"}},
        {"", {"Basic", "Grund", "Základní"}},
        {"", {"COM &offline", "COM &offline", "COM &odpojen"}},
        {"", {"COM &auto", "COM &auto", "COM &automaticky"}},
        {"", {"This is a new installation of set software for Korvelan ignitions.\nYou have to read actual setting of "
              "ignition before first programming of unit (the Read button),\nor open valid .ign file (e.g. from "
              "attached CD) !",
              "This is a new installation of set software for Korvelan ignitions.\nYou have to read actual setting of "
              "ignition before first programming of unit (the Read button),\nor open valid .ign file (e.g. from "
              "attached CD) !",
              "Toto je nová instalace setovacího programu pro zapalování Korvelan.\nPřed prvním naprogramováním "
              "jednotky musíte stav připojené jednotky vyčíst (tlačítkem číst),\nnebo otevřít .ign soubor s "
              "odpovídajícím nastavením (například z přiloženého CD) !"}},
        {"", {"The bike preset of the unit differs from the one set in the program!",
              "Die Motorradvorgabe der Zündung weicht von der im Programm ab!",
              "Typ motocyklu v jednotce se liší od nastaveného v programu!"}},
        {"", {"Warning", "Warning", "Varování"}},
        {"", {"Attention", "Attention", "Upozornění"}},
        {"", {"Hour meter", "Betriebstundenzähler", "Počítadlo provozních hodin"}},
        {"", {"[h:mm]", "[s:mm]", "[h:mm]"}},
    }};
    return table;
}

const std::vector<TextRow>& controlCaptionTable()
{
    static const std::vector<TextRow> table{
        {"CheckBoxProgHned", {"Programming after change", "Programmierung nach Änderung", "Programování po změně"}},
        {"CheckBoxZakazCteni", {"No Reading", "Lesen Verboten", "Zákaz čtení"}},
        {"LabelOmez1", {"Start limiter [rpm]", "Startbegrenzer [rpm]", "Startovací omezovač [rpm]"}},
        {"LabelHardLimiter", {"Limiter [rpm]", "Begrenzer [rpm]", "Omezovač [rpm]"}},
        {"LabelSoftLimiter", {"Soft limiter [rpm]", "Mildebegrenzer [rpm]", "Měkký omezovač [rpm]"}},
        {"LabelBaseAdv", {"Base advance [°]", "Basis Vorzündung [°]", "Základní předstih [°]"}},
        {"CheckBoxPredPalec",
         {"Spark posible before lobe", "Zündung möglich auch vor Leitstück", "Možnost zápalu i před palcem"}},
        {"LabelSpecStartPerc",
         {"Lower advance by start [%]", "Kleiner Vorzündung bei Start [%]", "Nižší předstih při startu [%]"}},
        {"LabelLedRazeni", {"Gear shift light [rpm]", "Schaltblitz [rpm]", "Kontrolka řazení [rpm]"}},
        {"CheckBoxRevOutLedRazeni",
         {"Reverse otput polarity", "Umgekehrte Ausgangpolarität", "Opačná polarita výstupu"}},
        {"RadioGroupPolarita", {"Polarity of CPS:", "Polarität des CPS:", "Polarita CPS:"}},
        {"RadioGroupInput1",
         {"Multifunction input 1 - green", "Multifunktionseingang 1 - grün", "Multifunkční vstup 1 - zelený"}},
        {"RadioGroupInput1.items",
         {"Off\nKill switch\nClutch master\nCurve B\nStart Limiter", "Aus\nNot Aus\nSchaltautomat\nKurve B\nStartbegrenzer",
          "Vypnut\nKill switch\nClutch master\nKřivka B\nStartovací omezovač"}},
        {"RadioGroupInput2",
         {"Multifunction input 2 - black", "Multifunktionseingang 2 - schwarz", "Multifunkční vstup 2 - černý"}},
        {"RadioGroupInput2.items",
         {"Off\nBlocking\nClutch master\nCurve B\nStart Limiter", "Aus\nBlockierung\nSchaltautomat\nKurve B\nStartbegrenzer",
          "Vypnut\nBlokování\nClutch master\nKřivka B\nStartovací omezovač"}},
        {"GroupBoxRpm", {"Tachometer output", "Drehzählerausgang", "Výstup pro otáčkoměr"}},
        {"LabelRpmPulsu", {"Pulses per revolution", "Pulse pro Umdrehung", "Počet pulsů za otáčku"}},
        {"LabelRpmKorekce", {"Correction [%]", "Korrektion [%]", "Korekce [%]"}},
        {"MenuZpet", {"Undo", "Zurück", "Zpět"}},
        {"MenuZnovu", {"Redo", "Wieder", "Znovu"}},
        {"ButtonTestIgn1", {"Ignition", "Zündung", "Zapalování"}},
    };
    return table;
}

const std::vector<TextRow>& menuCaptionTable()
{
    static const std::vector<TextRow> table{
        {"MenuFile", {"&File", "&Datei", "&Soubor"}},
        {"MenuNew", {"&New", "&Neu", "&Nový"}},
        {"MenuOpen", {"&Open", "&Öffnen", "&Otevřít"}},
        {"MenuOpenExeDir", {"Open from exe dir", "Öffnen aus exe dir", "Otevřít z exe dir"}},
        {"MenuSave", {"&Save", "&Speichern", "&Uložit"}},
        {"MenuSaveExeDir", {"Save to exe dir", "Speichern in exe dir", "Uložit do exe dir"}},
        {"MenuPrint", {"&Print", "&Drucken", "&Tisk"}},
        {"MenuExit", {"E&xit", "&Beenden", "&Konec"}},
        {"MenuCom", {"&Com", "&COM-Anschluß", "&Port"}},
        {"MenuDevice", {"&Ignition", "&Zündung", "&Zapalování"}},
        {"MenuRead", {"&Read", "&Lesen", "&Číst"}},
        {"MenuVerify", {"&Verify", "&Vergleichen", "&Verifikovat"}},
        {"MenuProgram", {"&Program", "&Programmieren", "&Programovat"}},
        {"MenuTools", {"Tools", "Werkzeuge", "Pomůcky"}},
        {"MenuAdvanceMinus", {"Advance -", "Vorzündung -", "Předstih -"}},
        {"MenuAdvancePlus", {"Advance +", "Vorzündung +", "Předstih +"}},
        {"MenuZpet", {"Undo", "Zurück", "Zpet"}},
        {"MenuZnovu", {"Redo", "Wieder", "Znovu"}},
        {"MenuMonitorPlayer", {"Monitor player", "Monitor-Player", "Přehrávač monitoru"}},
        {"MenuLanguage", {"&Language", "&Sprache", "&Jazyk"}},
        {"MenuEnglish", {"&English", "&Englisch - English", "&Anglicky - English"}},
        {"MenuGerman", {"&German - Deutsch", "&Deutsch", "&Německy - Deutsch"}},
        {"MenuCzech", {"&Czech - česky", "&Tschechisch - česky", "&Česky"}},
        {"MenuHelp", {"&Help", "&Hilfe", "&Nápověda"}},
        {"MenuContens", {"&Contents...", "&Inhalt...", "&Obsah..."}},
        {"MenuAbout", {"&About...", "&Über Programm...", "&O programu..."}},
    };
    return table;
}

const std::vector<TextRow>& ownCaptionTable()
{
    static const std::vector<TextRow> table{
        {"LabelClutch1", {"Clutch master time [ms]", "Schaltautomat Zeit [ms]", "Clutch master doba [ms]"}},
        {"LabelClutch2", {"Clutch master pause [ms]", "Schaltautomat Pause [ms]", "Clutch master pauza [ms]"}},
        {"GroupBox1", {"Power out", "Leistungsausgang", "Výkonový výstup"}},
        {"ButtonTestPilotLight", {"Pilot light", "Schaltblitz", "Kontrolka"}},
        {"ButtonTestRpm", {"Rpm", "Drehzahl", "Otáčky"}},
        {"CheckBoxFourStrokeIgn",
         {"Ignition every other revolutions (4 cycle)", "Zündung jede zweite Umdrehung (4-Takt)",
          "Zápal každou druhou otáčku (4-takt)"}},
        {"GroupBoxPlayer", {"Monitor player", "Monitor-Player", "Přehrávač monitoru"}},
        {"MenuView", {"&View", "&Ansicht", "&Zobrazení"}},
        {"MenuZoomFit", {"&Fit to screen", "&An Bildschirm anpassen", "&Přizpůsobit obrazovce"}},
        {"MenuDifferences", {"Show &differences", "&Unterschiede anzeigen", "Zobrazit &rozdíly"}},
    };
    return table;
}

const std::vector<TextRow>& hintTable()
{
    static constexpr std::array<std::string_view, 3> open{"Open file with parametrs", "Kenndatendatei öffnen",
                                                          "Otevření souboru s parametry"};
    static constexpr std::array<std::string_view, 3> save{"Save parametrs to file", "Kenndaten in Datei speichern",
                                                          "Uložení parametrů do souboru"};
    static constexpr std::array<std::string_view, 3> print{"Print parametrs", "Kenndaten Drucken", "Tisk parametrů"};
    static constexpr std::array<std::string_view, 3> program{"Programing  set parametrs to ignition",
                                                             "Kenndaten in die Zündung programmieren",
                                                             "Programování nastavených parametrů do zapalování"};
    static constexpr std::array<std::string_view, 3> verify{
        "Compare set parametrs  with parametrs of ignition", "Kenndaten mit Zündungskenndaten vergleichen",
        "Ověření zda  nastavené parametry souhlasí s parametry naprogramovanými do zapalování"};
    static constexpr std::array<std::string_view, 3> read{"Reading parametrs from ignition",
                                                          "Kenndaten aus Zündung lesen",
                                                          "Čtení parametrů ze zapalování"};
    static const std::vector<TextRow> table{
        {"LabelVerze1", {"Version of program in ignition", "Programmverion der Zündung", "Verze programu v zapalování"}},
        {"LabelVerze2",
         {"Date of program in ignition", "Datum des Programm in der Zündung", "Datum zhotovení programu v zapalování"}},
        {"LabelVerze3",
         {"Time of program in ignition", "Programmierzeitpunkt der Zündung", "Čas zhotovení programu v zapalování"}},
        {"SpeedButtonOpen", open},
        {"MenuOpen", open},
        {"SpeedButtonNew", {"Set default parametrs", "Neue Kenndatendatei erstellen", "Nastavení výchozích parametrů"}},
        {"MenuNew", {"Set default parameters ", "Neue Kenndatendatei erstellen", "Nastavení výchozích parametrů"}},
        {"SpeedButtonSave", save},
        {"MenuSave", save},
        {"SpeedButtonPrint", print},
        {"MenuPrint", print},
        {"ButtonProgram", program},
        {"MenuProgram", program},
        {"ButtonVerify", verify},
        {"MenuVerify", verify},
        {"ButtonRead", read},
        {"MenuRead", read},
        {"MenuExit", {"End of program", "Programm beenden", "Ukončení programu"}},
        {"MenuLanguage",
         {"Set English or German or Czech ", "wählen sie Englisch, Deutsch oder Tschechisch ",
          "Nastavení jazyka na angličtinu, němčinu nebo češtinu "}},
        {"MenuEnglish", {"Set English menu", "Set English menu", "Set English menu"}},
        {"MenuGerman", {"Deutsches Menü", "Deutsches Menü", "Deutsches Menü"}},
        {"MenuCzech", {"Nastavit české menu", "Nastavit české menu", "Nastavit české menu"}},
        {"CheckBoxProgHned",
         {"Programing at once after change", "Programmmieren sofort nach dem änderung", "Programování ihned po změně"}},
        {"MenuCom", {"Set number of com", "Com-Anschluß festlegen", "Nastavení čísla serivého portu (Com) "}},
    };
    return table;
}

void MessageTexts::apply(int language)
{
    const auto& table = messageTable();
    for (std::size_t i = 0; i < table.size(); ++i)
        slots_[i] = table[i].pick(language);
}

}  // namespace lang
