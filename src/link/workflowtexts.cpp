// The device workflow's messages in the program's three languages.

#include "link/workflowtexts.h"

namespace devlink::texts {

const lang::LangText kNoResult{"###"};
const lang::LangText kNoConnection{"###No connection with PC...##Keine Verbindung zum PC...##Není spojení s PC..."};
const lang::LangText kNone{"###none##kain##žádný"};
const lang::LangText kChecking{"###Checking:##Geräteprüfung:##Kontrola jednotky:"};
const lang::LangText kCheckingOk{"###Checking: OK##Geräteprüfung: OK##Kontrola jednotky: OK"};
const lang::LangText kCheckingError{"###Checking error !##Geräteprüfung Fehler !##Chyba kontroly jednotky !"};
const lang::LangText kResetOk{"###Reset: OK##Reset: OK##Reset: OK"};
const lang::LangText kResetError{"###Reset error !##Resetfehler !##Chyba resetu !"};
const lang::LangText kReading{"###Read:##Lesen:##Čtení:"};
const lang::LangText kReadError{"###Read error !##Lesefehler !##Chyba čtení !"};
const lang::LangText kVerifying{"###Verify:##Vergleichen:##Verifikace:"};
const lang::LangText kVerifyOk{"###Verify: OK##Vergleichen: OK##Verifikace: OK"};
const lang::LangText kVerifyError{"###Verify error !##Vergleichsfehler !##Chyba verifikace !"};
const lang::LangText kNoReading{"###No reading !##Lesen verboten !##Zákaz čtení !"};
const lang::LangText kProgramming{"###Program device:##Programmieren:##Programování:"};
const lang::LangText kProgramOk{"###Program device: OK##Programmieren: OK##Programování: OK"};
const lang::LangText kSaving{"###Saving:##Speichern:##Ukládání:"};
const lang::LangText kUnitDisconnected{
    "###The unit was disconnected##Die Zündung wurde getrennt##Jednotka byla odpojena"};
const lang::LangText kProgramInterrupted{
    "###Program device: interrupted - the unit was disconnected##Programmieren: abgebrochen - die Zündung wurde "
    "getrennt##Programování: přerušeno - jednotka byla odpojena"};
const lang::LangText kProgramInterruptedSaving{
    "###Program device: interrupted - the unit was disconnected while saving##Programmieren: abgebrochen - die "
    "Zündung wurde beim Speichern getrennt##Programování: přerušeno - jednotka byla odpojena během ukládání"};
const lang::LangText kProgramKept{
    "###Program device: the unit kept the new settings##Programmieren: die Zündung hat die neuen Einstellungen "
    "behalten##Programování: jednotka si nové nastavení ponechala"};
const lang::LangText kProgramNotKept{
    "###Program device: the unit did not keep the new settings - program it again##Programmieren: die Zündung hat "
    "die neuen Einstellungen nicht behalten - bitte erneut programmieren##Programování: jednotka si nové nastavení "
    "neponechala - naprogramujte ji znovu"};
const lang::LangText kProgramUncheckable{
    "###Program device: the unit forbids reading - whether it kept the new settings cannot be checked##"
    "Programmieren: die Zündung verbietet das Lesen - ob sie die neuen Einstellungen behalten hat, ist nicht "
    "prüfbar##Programování: jednotka zakazuje čtení - nelze ověřit, zda si nové nastavení ponechala"};
const lang::LangText kVersionMismatch{
    "###Unmatched version of PC and Ignition programs!##Programm der Zündung ist nicht kompatibel mit dem Programm am "
    "PC!##Neshodné verze proramu v PC a zapalování!"};

}  // namespace devlink::texts
