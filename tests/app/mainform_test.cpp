#include <QAction>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include "windowfixture.h"

namespace {

using app::TMainForm;

TEST_F(WindowTest, ControlsStandWhereTheLayoutPutsThem)
{
    TMainForm& w = open();
    struct {
        QWidget* control;
        QRect geometry;
    } cases[] = {
        {findControl<QGroupBox>(w, "GroupBoxToolBar"), {4, 0, 437, 43}},
        {findControl<QPushButton>(w, "ButtonProgram"), {347, 13, 81, 23}},
        {findControl<app::RadioGroup>(w, "RadioGroupAB"), {514, 0, 147, 43}},
        {findControl<QLabel>(w, "LabelConnection"), {673, 2, 174, 29}},
        {w.curveEditorBand, {5, 48, 1109, 403}},
        {findControl<QLineEdit>(w, "EditBaseAdv"), {12, 450, 26, 21}},
        {findControl<app::UpDown>(w, "UpDownBaseAdv"), {38, 450, 16, 21}},
        {findControl<QGroupBox>(w, "GroupBox2"), {8, 509, 321, 124}},
        {findControl<QLineEdit>(w, "EditHardLimiter"), {16, 60, 42, 21}},
        {findControl<app::RadioGroup>(w, "RadioGroupInput2"), {334, 580, 180, 124}},
        {findControl<app::Gauge>(w, "CGaugeRpm"), {753, 497, 303, 16}},
        {findControl<QLabel>(w, "LabelEeDataErr"), {746, 563, 217, 24}},
        {findControl<QCheckBox>(w, "CheckBoxProgHned"), {867, 773, 186, 16}},
        {findControl<QGroupBox>(w, "GroupBoxPlayer"), {11, 851, 990, 87}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.control->geometry(), c.geometry) << c.control->objectName().toStdString();
    EXPECT_EQ(findControl<QLabel>(w, "LabelAB")->font().pixelSize(), 32);
    EXPECT_TRUE(findControl<QLabel>(w, "LabelAB")->font().bold());
    EXPECT_EQ(findControl<QLabel>(w, "LabelCom")->text(), "COM = --");
    for (QWidget* hidden : std::initializer_list<QWidget*>{findControl<QLabel>(w, "LabelEeDataErr"), findControl<QLabel>(w, "LabelResult"), findControl<app::Gauge>(w, "CGaugeProgram"),
                                                           findControl<QLabel>(w, "LabelConnection"), findControl<QLabel>(w, "LabelVerze1"), findControl<QLabel>(w, "LabelVersion")})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    for (QWidget* panel : std::initializer_list<QWidget*>{findControl<QLabel>(w, "LabelNapeti"), findControl<QLabel>(w, "LabelMon_Advance"), findControl<QGroupBox>(w, "GroupBox1")})
        EXPECT_GE(panel->x(), 520);
    const int widths[5] = {400, 30, 280, 30, 300};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(statusPanel(w, std::size_t(i))->width(), widths[i]);
    EXPECT_EQ(statusPanel(w, 1)->text(), "EXE");
}

TEST_F(WindowTest, SmallerWindowScrollsAndKeepsControlsInPlace)
{
    TMainForm& w = open();
    w.show();
    w.resize(w.designedSize());
    QApplication::processEvents();
    EXPECT_EQ(w.scrollArea->horizontalScrollBar()->maximum(), 0) << "the designed size shows everything";
    EXPECT_EQ(w.scrollArea->verticalScrollBar()->maximum(), 0);
    w.resize(600, 400);
    QApplication::processEvents();
    EXPECT_EQ(findControl<QLineEdit>(w, "EditBaseAdv")->pos(), QPoint(12, 450));
    EXPECT_TRUE(w.scrollArea->horizontalScrollBar()->maximum() > 0);
    EXPECT_TRUE(w.scrollArea->verticalScrollBar()->maximum() > 0);
}

TEST_F(WindowTest, LanguageSwitchChangesCaptionsHintsAndMenus)
{
    TMainForm& w = open();
    const QString presetEnglish = findControl<QComboBox>(w, "ComboBoxBike")->itemText(3);
    findControl<QAction>(w, "MenuGerman")->trigger();
    EXPECT_EQ(findControl<QMenu>(w, "MenuDevice")->title(), "&Zündung");
    EXPECT_EQ(findControl<QAction>(w, "MenuOpen")->statusTip(), "Kenndatendatei öffnen");
    EXPECT_FALSE(findControl<QMenu>(w, "MenuCom")->menuAction()->statusTip().isEmpty()) << "menu titles show their hints too";
    EXPECT_EQ(findControl<QMenu>(w, "MenuCom")->menuAction()->statusTip(), findControl<QMenu>(w, "MenuCom")->toolTip());
    EXPECT_TRUE(findControl<QAction>(w, "MenuGerman")->isChecked());
    EXPECT_FALSE(findControl<QAction>(w, "MenuEnglish")->isChecked());
    EXPECT_EQ(findControl<QPushButton>(w, "ButtonRead")->text(), "&Lesen");
    EXPECT_EQ(findControl<QLabel>(w, "LabelBaseAdv")->text(), "Basis Vorzündung [°]");
    EXPECT_EQ(findControl<app::RadioGroup>(w, "RadioGroupInput1")->items().at(1), "Not Aus");
    EXPECT_EQ(findControl<QToolButton>(w, "SpeedButtonOpen")->toolTip(), "Kenndatendatei öffnen");
    EXPECT_EQ(findControl<QComboBox>(w, "ComboBoxBike")->itemText(3), presetEnglish) << "the preset list keeps the language it was filled in";
    EXPECT_EQ(w.texts[lang::Msg::NewInstallation].substr(0, 19), "This is a new insta");

    findControl<QAction>(w, "MenuCzech")->trigger();
    EXPECT_EQ(findControl<QAction>(w, "MenuZpet")->text(), "Zpet") << "the menu table wins over the control table";
    EXPECT_EQ(findControl<QCheckBox>(w, "CheckBoxZakazCteni")->text(), "Zákaz čtení");
    EXPECT_EQ(w.texts[lang::Msg::Warning], "Varování");
}

TEST_F(WindowTest, HintsKeepThePanelsAndWindowShortcutsWinOverEditBoxes)
{
    TMainForm& w = open();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    QStatusTipEvent tip(QStringLiteral("Open parameter file"));
    QApplication::sendEvent(findControl<QLineEdit>(w, "EditHardLimiter"), &tip);
    EXPECT_EQ(statusPanel(w, 0)->text(), "Open parameter file");
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(statusPanel(w, 3)->isVisible()) << "the other panels stay";

    const int before = w.state.params[params::idx::HardLimiterA];
    type(findControl<QLineEdit>(w, "EditHardLimiter"), "13 000");
    ASSERT_NE(w.state.params[params::idx::HardLimiterA], before);
    findControl<QLineEdit>(w, "EditHardLimiter")->setFocus();
    QTest::keyClick(w.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.state.params[params::idx::HardLimiterA], before) << "Ctrl+Z in an edit box undoes the set";
    EXPECT_NE(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "13 000") << "the box shows the restored value";
}

TEST_F(WindowTest, CommandLineLanguageWordIsCaseSensitive)
{
    EXPECT_EQ(findControl<QMenu>(open({"CESKY"}), "MenuFile")->title(), "&Soubor");
    forgetSettings();
    EXPECT_EQ(findControl<QMenu>(open({"cesky"}), "MenuFile")->title(), "&File");
    forgetSettings();
    TMainForm& w = open({"nopatchcheck", "DEUTSCH"});
    EXPECT_TRUE(w.noUpdateCheck);
    EXPECT_EQ(findControl<QMenu>(w, "MenuFile")->title(), "&File") << "only the first argument counts";
}

TEST_F(WindowTest, TestFlagsFileShowsTestLabelsAndPlayer)
{
    TMainForm& plain = open();
    EXPECT_FALSE(plain.testEnabled);
    EXPECT_TRUE(testLabel(plain, 0)->isHidden());
    EXPECT_TRUE(findControl<QGroupBox>(plain, "GroupBoxPlayer")->isHidden());
    TMainForm& test = open({}, /*testFlags=*/true);
    EXPECT_TRUE(test.testEnabled);
    EXPECT_FALSE(testLabel(test, 7)->isHidden());
    EXPECT_FALSE(findControl<QGroupBox>(test, "GroupBoxPlayer")->isHidden());
}

TEST_F(WindowTest, MessageSlotPrioritiesAndExpiry)
{
    TMainForm& w = open();
    const lang::LangText important("###Important##Wichtig##Důležité");
    const lang::LangText minor("minor");
    ticks(10);
    w.showMessage(4, &important, 4000, lang::kColourUnchanged, lang::colour::Green, 10);
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Important");
    w.showMessage(4, &minor, 4000, lang::kColourUnchanged, lang::kColourUnchanged, 5);
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Important") << "a lower priority is ignored";
    ticks(80);  // expiry is 80 ticks after showing; removed once the count exceeds it
    EXPECT_FALSE(findControl<QLabel>(w, "LabelCongruence")->isHidden());
    ticks(1);
    EXPECT_TRUE(findControl<QLabel>(w, "LabelCongruence")->isHidden());

    w.showMessage(4, &minor, 0, lang::kColourUnchanged, lang::kColourUnchanged, 5);
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "minor") << "a hidden label counts as empty";
    w.showMessage(4, &important, -1, lang::kColourUnchanged, lang::kColourUnchanged, 10);
    w.showMessage(4, &minor, -1, lang::kColourUnchanged, lang::kColourUnchanged, -1);
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "minor") << "a negative priority always wins";
    ticks(500);
    EXPECT_FALSE(findControl<QLabel>(w, "LabelCongruence")->isHidden()) << "a negative duration never expires";

    w.showMessage(2, &important, 1000, lang::kColourUnchanged, lang::kColourUnchanged, 1);
    findControl<app::Gauge>(w, "CGaugeProgram")->show();
    w.showMessage(2, nullptr, 0, lang::kColourUnchanged, lang::kColourUnchanged, 1);
    EXPECT_TRUE(findControl<QLabel>(w, "LabelResult")->isHidden());
    EXPECT_TRUE(findControl<app::Gauge>(w, "CGaugeProgram")->isHidden()) << "slot 2 hides the progress bar with its label";
    w.showMessage(3, &important, 1000, 0, 0, 1);  // no label: ignored
    w.showMessage(7, &important, 1000, 0, 0, 1);
}

TEST_F(WindowTest, TitleNamesTheFileOnlyWhileTheSetEqualsIt)
{
    TMainForm& w = open();
    w.currentFileName = "bike.ign";
    w.state.sameAsFile = true;
    w.refreshTitle();
    EXPECT_EQ(w.windowTitle(), "  Tavrin (v109)       bike.ign");
    w.state.sameAsFile = false;
    w.refreshTitle();
    EXPECT_EQ(w.windowTitle(), "  Tavrin (v109)       ");
}

}  // namespace

namespace {

TEST_F(WindowTest, HelpOpensTheManualsPageOfTheLanguage)
{
    TMainForm& w = open();
    QUrl opened;
    w.openUrl = [&](const QUrl& url) {
        opened = url;
        return true;
    };
    findControl<QAction>(w, "MenuContens")->trigger();
    EXPECT_TRUE(opened.toString().endsWith("/en/stahnout/manuals"));
    findControl<QAction>(w, "MenuCzech")->trigger();
    findControl<QAction>(w, "MenuContens")->trigger();
    EXPECT_TRUE(opened.toString().endsWith("/cz/stahnout/manuals"));
    EXPECT_TRUE(boxes.boxes.empty());

    w.openUrl = [](const QUrl&) { return false; };
    findControl<QAction>(w, "MenuContens")->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.starts_with("Chyba při otevírání www odkazu https://"));
    EXPECT_TRUE(boxes.boxes[0].text.ends_with("/cz/stahnout/manuals !"));
}

}  // namespace
