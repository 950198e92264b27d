#include "params/presets.h"

namespace params {
namespace {

//                                  code pol ch  polVis syncVis startVis one   cap    base
constexpr std::array<Preset, 10> kPresets{{
    {0, 2, 3, true, true, true, false, false, 10},
    {1, 0, 2, true, true, true, true, false, 10},
    {2, 0, 2, true, false, true, true, false, 10},
    {3, 1, 2, false, false, true, true, false, 10},
    {4, 2, 3, true, true, true, true, false, 10},
    {5, 2, 3, true, true, true, true, false, 10},
    {6, 0, 2, false, false, true, true, false, 10},
    {7, 0, 2, false, false, true, true, true, 10},
    {8, 1, 2, true, true, false, false, false, 22},
    {9, 2, 3, true, true, true, true, false, 10},
}};

}  // namespace

const Preset* presetForCode(int code)
{
    for (const Preset& p : kPresets)
        if (p.code == code)
            return &p;
    return nullptr;
}

const std::array<PresetListEntry, 10>& presetList()
{
    static const std::array<PresetListEntry, 10> list{{
        {"Standard", 0},
        {"Honda CBF250", 4},
        {"Husaberg 4T SEM", 6},
        {"###Kawasaki KLR 600 older model##Kawasaki KLR 600 alter model##Kawasaki KLR 600 starší model", 1},
        {"KTM 4T SEM", 3},
        {"Suzuki DR650SE", 9},
        {"Suzuki Freewind", 5},
        {"###Yamaha XT 600 older model##Yamaha XT 600 alter model##Yamaha XT 600 starší model", 2},
        {"2T SEM", 7},
        {"###Start of lobe##Beginn das Leitstück##Začátek palce", 8},
    }};
    return list;
}

const std::array<CodedChoice, 4>& ignitionsPerRevChoices()
{
    static const std::array<CodedChoice, 4> list{{
        {"###1 ignition per revolution##1 Zündung pro Umdrehung##1 zápal za otáčku", 1},
        {"###2 ignitions per revolution##2 Zündungen pro Umdrehung##2 zápaly za otáčku", 2},
        {"###3 ignitions per revolution##3 Zündungen pro Umdrehung##3 zápaly za otáčku", 3},
        {"###1 ignition per 2 revolutions (camshaft)##1 Zündung pro 2 Umdrehungen (Nockenwelle)##1 zápal za 2 otáčky "
         "(vačkový hřídel)",
         0},
    }};
    return list;
}

const std::array<CodedChoice, 3>& syncPolarityChoices()
{
    static const std::array<CodedChoice, 3> list{{
        {"###use: both polarity##Gebrauch: beide Polaritäten##užívá: obě poolarity", 0},
        {"###use: + positive only##Gebrauch: + nur positiv##užívá: + jen kladná", 1},
        {"###use: - negative only##Gebrauch: - nur negativ##užívá: - jen záporná", 2},
    }};
    return list;
}

bool presetShowsMeasuredPolarity(int code) { return code == 0 || code == 100; }

}  // namespace params
