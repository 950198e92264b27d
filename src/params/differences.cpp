// The differences list: one entry per setting, formatted as the window shows it.

#include "params/differences.h"

#include <algorithm>
#include <functional>

#include "lang/langtext.h"
#include "lang/uitexts.h"
#include "params/presets.h"

namespace params {
namespace {

using Format = std::function<std::string(const ParameterSet&)>;

struct Setting {
    std::string group;
    std::string name;
    std::vector<int> indices;
    Format format;
};

std::string pick(const lang::LangText& text, int language) { return std::string(text.pick(language)); }

// Decimal with groups of three digits from 1 000 on, as the window's boxes show numbers.
std::string grouped(int value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() > 3)
        for (int at = int(digits.size()) - 3; at > 0; at -= 3)
            digits.insert(std::size_t(at), " ");
    return (value < 0 ? "-" : "") + digits;
}

Format scaled(int index, int factor, std::string unit, int offset = 0)
{
    return [=](const ParameterSet& s) { return grouped(s[index] * factor + offset) + unit; };
}

Format coded(int index, std::function<std::string(int)> name)
{
    return [=](const ParameterSet& s) { return name(s[index]); };
}

std::string codeText(int code) { return "(" + std::to_string(code) + ")"; }

std::vector<Setting> settings(int language)
{
    const auto text = [language](const char* t) { return pick(lang::LangText(t), language); };
    const auto& messages = lang::messageTable();
    const std::string yes(messages[std::size_t(lang::Msg::Yes)].pick(language));
    const std::string no(messages[std::size_t(lang::Msg::No)].pick(language));
    const auto yesNo = [yes, no](int index) {
        return coded(index, [yes, no](int v) { return v == 0 ? no : v == 1 ? yes : codeText(v); });
    };
    const auto fromChoices = [language](const auto& choices) {
        return [&choices, language](int code) {
            for (const auto& choice : choices)
                if (choice.code == code)
                    return pick(choice.text, language);
            return codeText(code);
        };
    };
    const auto fromLines = [language](const char* controlRow) {
        std::vector<std::string> items;
        for (const lang::TextRow& row : lang::controlCaptionTable())
            if (row.name == controlRow) {
                std::string all(row.pick(language));
                for (std::size_t start = 0;;) {
                    const std::size_t end = all.find('\n', start);
                    items.push_back(all.substr(start, end - start));
                    if (end == std::string::npos)
                        break;
                    start = end + 1;
                }
            }
        return [items](int v) { return v >= 0 && std::size_t(v) < items.size() ? items[std::size_t(v)] : codeText(v); };
    };
    const std::string rpm = " rpm", deg = "°", ms = " ms", pct = " %";

    std::vector<Setting> out;
    out.push_back({"", text("###Bike##Motorrad##Motocykl"), {idx::Bike}, coded(idx::Bike, fromChoices(presetList()))});
    out.push_back({"", text("###Base advance##Basis Vorzündung##Základní předstih"), {idx::BaseAdvance},
                   scaled(idx::BaseAdvance, 1, deg)});
    struct PerCurve {
        const char* name;
        int indexA, factor;
        const std::string& unit;
    };
    const PerCurve perCurve[] = {
        {"###Start limiter##Startbegrenzer##Startovací omezovač", idx::StartLimiterA, 100, rpm},
        {"###Soft limiter##Mildebegrenzer##Měkký omezovač", idx::SoftLimiterA, 100, rpm},
        {"###Limiter##Begrenzer##Omezovač", idx::HardLimiterA, 100, rpm},
        {"###Gear shift light##Schaltblitz##Kontrolka řazení", idx::PilotLightA, 100, rpm},
        {"###Clutch master time##Schaltautomat Zeit##Clutch master doba", idx::ClutchTimeA, 5, ms},
        {"###Clutch master pause##Schaltautomat Pause##Clutch master pauza", idx::ClutchPauseA, 100, ms},
    };
    for (const PerCurve& p : perCurve)
        for (int curve = 0; curve < 2; ++curve) {
            const int index = ParameterSet::forCurve(p.indexA, curve);
            out.push_back({"", text(p.name) + (curve ? " B" : " A"), {index}, scaled(index, p.factor, p.unit)});
        }
    const std::array<lang::LangText, 3> polarity{"###Positive##Positiv##Kladná", "###Negative##Negativ##Záporná",
                                                 "###Self search##Selbstsuche##Samohledání"};
    std::vector<std::string> polarityNames;
    for (const auto& p : polarity)
        polarityNames.push_back(pick(p, language));
    out.push_back({"", text("###Polarity of CPS##Polarität des CPS##Polarita CPS"), {idx::Polarity},
                   coded(idx::Polarity, [polarityNames](int v) {
                       return v >= 0 && v < 3 ? polarityNames[std::size_t(v)] : codeText(v);
                   })});
    out.push_back({"", text("###Pick-up pulses used##Gebrauchte Geberpulse##Užívané pulsy snímače"), {idx::SyncPolarity},
                   coded(idx::SyncPolarity, fromChoices(syncPolarityChoices()))});
    out.push_back({"", text("###Ignitions per revolution##Zündungen pro Umdrehung##Zápaly za otáčku"),
                   {idx::IgnitionsPerRev}, coded(idx::IgnitionsPerRev, fromChoices(ignitionsPerRevChoices()))});
    out.push_back({"", text("###Spark posible before lobe##Zündung möglich auch vor Leitstück##Možnost zápalu i před palcem"),
                   {idx::SparkBeforeLobe}, yesNo(idx::SparkBeforeLobe)});
    out.push_back({"", text("###Lower advance by start##Kleiner Vorzündung bei Start##Nižší předstih při startu"),
                   {idx::StartAdvancePercent}, scaled(idx::StartAdvancePercent, 1, pct)});
    out.push_back({"",
                   text("###Ignition every other revolution (4 cycle)##Zündung jede zweite Umdrehung (4-Takt)##Zápal "
                        "každou druhou otáčku (4-takt)"),
                   {idx::FourStroke}, yesNo(idx::FourStroke)});
    out.push_back({"", text("###Gear shift light PWM##Schaltblitz PWM##Kontrolka řazení PWM"), {idx::PilotLightPwm},
                   scaled(idx::PilotLightPwm, 10, pct)});
    out.push_back({"", text("###Reverse otput polarity##Umgekehrte Ausgangpolarität##Opačná polarita výstupu"),
                   {idx::PilotLightReversed}, yesNo(idx::PilotLightReversed)});
    out.push_back({"", text("###Multifunction input 1 - green##Multifunktionseingang 1 - grün##Multifunkční vstup 1 - zelený"),
                   {idx::Input1}, coded(idx::Input1, fromLines("RadioGroupInput1.items"))});
    out.push_back({"", text("###Multifunction input 2 - black##Multifunktionseingang 2 - schwarz##Multifunkční vstup 2 - černý"),
                   {idx::Input2}, coded(idx::Input2, fromLines("RadioGroupInput2.items"))});
    out.push_back({"", text("###Pulses per revolution##Pulse pro Umdrehung##Počet pulsů za otáčku"), {idx::TachoPulses},
                   coded(idx::TachoPulses, [](int v) { return v == kTachoPickup ? std::string("pickup") : std::to_string(v); })});
    out.push_back({"", text("###Correction##Korrektion##Korekce"), {idx::TachoCorrection},
                   scaled(idx::TachoCorrection, 1, pct, -100)});
    out.push_back({"", text("###No Reading##Lesen Verboten##Zákaz čtení"), {idx::NoReading}, yesNo(idx::NoReading)});
    out.push_back({"", text("###Test speed##Testdrehzahl##Testovací otáčky"), {idx::TestSpeed},
                   scaled(idx::TestSpeed, 100, rpm)});
    out.push_back({"", text("###Curve mode##Kurvenmodus##Režim křivek"), {idx::CurveMode},
                   coded(idx::CurveMode, [](int v) {
                       static const char* modes[] = {"A", "B", "Monitor", "A=B"};
                       return v >= 0 && v < 4 ? std::string(modes[v]) : codeText(v);
                   })});
    for (int curve = 0; curve < 2; ++curve) {
        const std::string group = text(curve ? "###Advance B##Vorzündung B##Předstih B" : "###Advance A##Vorzündung A##Předstih A");
        const int points = curve ? idx::PointsB : idx::PointsA;
        out.push_back({group, text("###Points##Punkte##Body"), {points}, scaled(points, 1, "")});
        const std::string point = text("###Point##Punkt##Bod");
        for (int i = 0; i < kCurvePoints; ++i) {
            const int speed = (curve ? idx::SpeedB : idx::SpeedA) + i, advance = (curve ? idx::AdvanceB : idx::AdvanceA) + i;
            out.push_back({group, point + " " + std::to_string(i + 1), {speed, advance}, [speed, advance, rpm, deg](const ParameterSet& s) {
                               return grouped(s[speed] * 100) + rpm + ", " + grouped(s[advance]) + deg;
                           }});
        }
    }
    const std::string internal = text("###Internal byte##Internes Byte##Interní bajt");
    for (int i = idx::FirstUnused; i < kParameterCount; ++i)
        out.push_back({"", internal + " " + std::to_string(i), {i}, scaled(i, 1, "")});
    return out;
}

bool differs(const ParameterSet& a, const ParameterSet& b, const std::vector<int>& indices, const std::vector<int>& ignored)
{
    return std::any_of(indices.begin(), indices.end(), [&](int i) {
        return a[i] != b[i] && std::find(ignored.begin(), ignored.end(), i) == ignored.end();
    });
}

}  // namespace

std::vector<SettingDifference> listDifferences(const ParameterSet& window, const ParameterSet* unit,
                                               const ParameterSet* file, const std::vector<int>& ignored, int language)
{
    std::vector<SettingDifference> out;
    for (const Setting& s : settings(language)) {
        const bool unitDiffers = unit && differs(window, *unit, s.indices, ignored);
        const bool fileDiffers = file && differs(window, *file, s.indices, ignored);
        if (!unitDiffers && !fileDiffers)
            continue;
        out.push_back({s.group, s.name, s.indices, s.format(window), unit ? s.format(*unit) : std::string(),
                       file ? s.format(*file) : std::string(), unitDiffers, fileDiffers});
    }
    return out;
}

std::vector<std::string> formatDifferences(const std::vector<SettingDifference>& differences, int language)
{
    const std::string pc = pick(lang::LangText("###PC##PC##PC"), language);
    const std::string unit = pick(lang::LangText("###unit##Einheit##jednotka"), language);
    const std::string file = pick(lang::LangText("###file##Datei##soubor"), language);
    std::vector<std::string> lines;
    std::string group;
    for (const SettingDifference& d : differences) {
        if (d.group != group) {
            group = d.group;
            if (!group.empty())
                lines.push_back(group + ":");
        }
        std::string line = (d.group.empty() ? "" : "  ") + d.name + ": " + pc + " " + d.windowValue;
        if (d.unitDiffers)
            line += "; " + unit + " " + d.unitValue;
        if (d.fileDiffers)
            line += "; " + file + " " + d.fileValue;
        lines.push_back(line);
    }
    return lines;
}

void takeUnitValue(ParameterSet& set, const ParameterSet& unit, const SettingDifference& difference)
{
    for (int i : difference.indices)
        set[i] = unit[i];
}

}  // namespace params
