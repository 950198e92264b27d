// Feedback for every action, texts in every language, and the list of differences:
// what a user sees after opening a foreign file, in the port menu, with Ctrl+Y, after a
// language switch, and when unit and window disagree.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "app/differencesdialog.h"
#include "params/parameterstate.h"
#include "windowfixture.h"

using app::TMainForm;
namespace idx = params::idx;

namespace {

// The unit holds the window's set with a few settings changed; the congruence runs.
void unitDiffers(TMainForm& w, const std::function<void(params::ParameterSet&)>& change)
{
    w.state.unitParameters = w.state.params;
    change(w.state.unitParameters);
    w.state.unitParametersValid = true;
    params::compareWithUnitAndFile(w.state, w);
}

// Counts the font changes and resizes a label goes through: what fitting it costs.
struct RefitCounter : QObject {
    int refits = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::Resize)
            ++refits;
        return false;
    }
};

}  // namespace

// The ticks set the port label's text again and again; only a new text fits it anew.
TEST_F(WindowTest, AnUnchangedLabelTextIsNotFittedAgainButADifferentOneIs)
{
    TMainForm& w = open();
    QLabel* labelCom = findControl<QLabel>(w, "LabelCom");
    const QString tooLong = QStringLiteral("COM=(auto 3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20)");
    app::setLabelText(labelCom, tooLong);
    ASSERT_EQ(labelCom->toolTip(), tooLong) << "the text is cut and shown whole in the tooltip";
    const QString shown = labelCom->text();
    RefitCounter counter;
    labelCom->installEventFilter(&counter);
    for (int tick = 0; tick < 3; ++tick)
        app::setLabelText(labelCom, tooLong);
    EXPECT_EQ(counter.refits, 0);
    EXPECT_EQ(labelCom->text(), shown);
    // A text put on the label past setLabelText is replaced all the same.
    labelCom->setText(QStringLiteral("x"));
    labelCom->setToolTip(QString());
    app::setLabelText(labelCom, tooLong);
    EXPECT_EQ(labelCom->text(), shown);
    EXPECT_EQ(labelCom->toolTip(), tooLong);
    app::setLabelText(labelCom, QStringLiteral("COM=3"));
    EXPECT_EQ(labelCom->text(), QStringLiteral("COM=3"));
    EXPECT_TRUE(labelCom->toolTip().isEmpty());
    labelCom->removeEventFilter(&counter);
}

TEST_F(WindowTest, OpeningAFileThatIsNoParameterFileSaysSo)
{
    TMainForm& w = open();
    const auto path = dir / "notes.txt";
    {
        std::ofstream out(path);
        out << "shopping list\nmilk\n";
    }
    const auto before = w.state.params;
    w.fileDialog = [&](bool, const QString&) { return QString::fromStdString(path.string()); };
    findControl<QAction>(w, "MenuOpen")->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "The file is not a parameter file (*.ign)!");
    EXPECT_EQ(w.state.params, before);
    EXPECT_TRUE(w.currentFileName.isEmpty());
}

TEST_F(WindowTest, ComMenuSeparatorIsAPlainLineAndCtrlYRedoes)
{
    TMainForm& w = open();
    EXPECT_TRUE(portItem(w, 2)->isSeparator());
    EXPECT_TRUE(portItem(w, 2)->text().isEmpty()) << "a separator with a text shows it as a heading";
    EXPECT_TRUE(findControl<QAction>(w, "MenuZnovu")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z)));

    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    type(findControl<QLineEdit>(w, "EditBaseAdv"), "12");
    findControl<QAction>(w, "MenuZpet")->trigger();
    ASSERT_EQ(w.state.params[idx::BaseAdvance], 10);
    findControl<QLineEdit>(w, "EditHardLimiter")->setFocus();
    QTest::keyClick(w.windowHandle(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.state.params[idx::BaseAdvance], 12) << "Ctrl+Y redoes, also from an edit box";
}

TEST_F(WindowTest, AEqualsBQuestionAnsweredNoOrCancelKeepsTheMode)
{
    // Yes copies A to B and switches; any other answer leaves the mode as it was (and in
    // mode A=B curve B always follows A, so a switch without the copy cannot exist).
    TMainForm& w = open();
    for (int answer : {lang::IdNo, lang::IdCancel}) {
        const auto before = w.state.params;
        boxes.answerWith(answer);
        findControl<app::RadioGroup>(w, "RadioGroupAB")->button(3)->click();
        EXPECT_EQ(w.state.params, before) << answer;
        EXPECT_EQ(findControl<app::RadioGroup>(w, "RadioGroupAB")->itemIndex(), 0) << answer;
    }
}

TEST_F(WindowTest, StartedInGermanOrCzechTheChoiceListsAndOwnCaptionsFollow)
{
    struct Case {
        const char* argument;
        const char* syncPolarity;
        const char* ignitions;
        const char* polarity;
        const char* clutch;
        const char* powerOut;
    } cases[] = {
        {"DEUTSCH", "Gebrauch: beide Polaritäten", "1 Zündung pro Umdrehung", "Selbstsuche", "Schaltautomat Zeit [ms]",
         "Leistungsausgang"},
        {"CESKY", "užívá: obě poolarity", "1 zápal za otáčku", "Samohledání", "Clutch master doba [ms]",
         "Výkonový výstup"},
    };
    for (const Case& c : cases) {
        TMainForm& w = open({QString::fromLatin1(c.argument)});
        EXPECT_EQ(findControl<QComboBox>(w, "ComboBoxSynchPos")->itemText(0), QString::fromUtf8(c.syncPolarity));
        EXPECT_EQ(findControl<QComboBox>(w, "ComboBoxPocPalcu")->itemText(0), QString::fromUtf8(c.ignitions));
        EXPECT_EQ(findControl<app::RadioGroup>(w, "RadioGroupPolarita")->items().value(2), QString::fromUtf8(c.polarity));
        EXPECT_EQ(findControl<QLabel>(w, "LabelClutch1")->text(), QString::fromUtf8(c.clutch));
        EXPECT_EQ(findControl<QGroupBox>(w, "GroupBox1")->title(), QString::fromUtf8(c.powerOut));
        window.reset();
        lang::setCurrentLanguage(lang::English);
    }
}

TEST_F(WindowTest, CongruenceLabelFollowsALanguageSwitch)
{
    TMainForm& w = open();
    unitDiffers(w, [](params::ParameterSet& s) { s[idx::BaseAdvance] = 20; });
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Unit and PC settings are different");
    findControl<QAction>(w, "MenuGerman")->trigger();
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Einrichten der Einheit und der PC sind anders");
    findControl<QAction>(w, "MenuCzech")->trigger();
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), QString::fromUtf8("Nastavení v jednotce a PC se liší"));
}

TEST_F(WindowTest, MessageLabelsNeverRunIntoTheirNeighbours)
{
    const lang::LangText messages[] = {
        "###No connection with PC...##Keine Verbindung zum PC...##Není spojení s PC...",
        "###Unit and PC settings are different##Einrichten der Einheit und der PC sind anders##Nastavení v jednotce a PC "
        "se liší",
        "###Unit and PC settings are identical##Einrichten des Einheit und der PC ist die gleichen##Nastavení v jednotce "
        "a PC je shodné",
        "###Checking error !##Geräteprüfung Fehler !##Chyba kontroly jednotky !",
        "###Program device: OK##Programmieren: OK##Programování: OK",
        "###Unmatched version of PC and Ignition programs!##Programm der Zündung ist nicht kompatibel mit dem Programm "
        "am PC!##Neshodné verze proramu v PC a zapalování!",
    };
    TMainForm& w = open();
    w.show();
    QLabel* const labels[] = {findControl<QLabel>(w, "LabelConnection"), findControl<QLabel>(w, "LabelResult"), findControl<QLabel>(w, "LabelCongruence")};
    for (int zoom : {75, 100, 125, 150}) {
        w.setZoom(zoom);
        for (int language : {lang::English, lang::German, lang::Czech}) {
            w.setLanguage(language);
            for (const lang::LangText& message : messages) {
                for (int slot : {1, 2, 4})
                    w.showMessage(slot, &message, -1, lang::colour::Black, lang::colour::Yellow, -1);
                app::setLabelText(findControl<QLabel>(w, "LabelCom"), QStringLiteral("COM=(auto 3,4,5,6)"));
                for (QLabel* label : {labels[0], labels[1], labels[2], findControl<QLabel>(w, "LabelCom")}) {
                    const std::string where = label->objectName().toStdString() + " at " + std::to_string(zoom) +
                                              " %, language " + std::to_string(language) + ": " +
                                              std::string(message.pick(lang::English));
                    EXPECT_TRUE(w.client->rect().contains(label->geometry())) << where;
                    for (QWidget* other : w.client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                        // The connection and congruence labels are stacked by the design.
                        const bool stacked = (label == findControl<QLabel>(w, "LabelConnection") && other == findControl<QLabel>(w, "LabelCongruence")) ||
                                             (label == findControl<QLabel>(w, "LabelCongruence") && other == findControl<QLabel>(w, "LabelConnection"));
                        if (other == label || stacked || !other->isVisibleTo(w.client))
                            continue;
                        EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                            << where << " runs into " << other->objectName().toStdString();
                    }
                }
            }
        }
    }
}

TEST_F(WindowTest, ClickingTheCongruenceLabelListsTheDifferencesAndTakesTheUnitsValues)
{
    TMainForm& w = open();
    unitDiffers(w, [](params::ParameterSet& s) {
        s[idx::HardLimiterA] = 120;
        s[idx::AdvanceA + 4] = 22;
    });
    QTest::mouseClick(findControl<QLabel>(w, "LabelCongruence"), Qt::LeftButton);
    ASSERT_NE(w.differencesForm, nullptr);
    EXPECT_TRUE(w.differencesForm->isVisible());
    QTreeWidget& tree = *w.differencesForm->tree();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Limiter A");
    EXPECT_EQ(tree.topLevelItem(0)->text(1), "15 000 rpm");
    EXPECT_EQ(tree.topLevelItem(0)->text(2), "12 000 rpm");
    EXPECT_EQ(tree.topLevelItem(1)->text(0), "Advance A");
    ASSERT_EQ(tree.topLevelItem(1)->childCount(), 1);
    EXPECT_EQ(tree.topLevelItem(1)->child(0)->text(0), "Point 5");
    EXPECT_EQ(tree.topLevelItem(1)->child(0)->text(2), QString::fromUtf8("5 000 rpm, 22°"));

    // In the user's language, as the window speaks it.
    findControl<QAction>(w, "MenuGerman")->trigger();
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Begrenzer A");
    findControl<QAction>(w, "MenuEnglish")->trigger();

    // One setting, then the rest.
    tree.topLevelItem(0)->setSelected(true);
    QTest::mouseClick(w.differencesForm->takeOneButton(), Qt::LeftButton);
    EXPECT_EQ(w.state.params[idx::HardLimiterA], 120);
    EXPECT_EQ(findControl<QLineEdit>(w, "EditHardLimiter")->text(), "12 000");
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTest::mouseClick(w.differencesForm->takeAllButton(), Qt::LeftButton);
    EXPECT_EQ(w.state.params[idx::AdvanceA + 4], 22);
    EXPECT_EQ(findControl<QLabel>(w, "LabelCongruence")->text(), "Unit and PC settings are identical");
    EXPECT_TRUE(w.binding().history().canUndo());
}

TEST_F(WindowTest, DeviceMenuShowsTheDifferencesWithTheOpenFile)
{
    TMainForm& w = open();
    const auto path = dir / "a.ign";
    w.fileDialog = [&](bool, const QString&) { return QString::fromStdString(path.string()); };
    findControl<QAction>(w, "MenuSave")->trigger();
    type(findControl<QLineEdit>(w, "EditBaseAdv"), "14");
    unitDiffers(w, [](params::ParameterSet& s) { s[idx::BaseAdvance] = 12; });
    findControl<QAction>(w, "MenuDifferences")->trigger();
    ASSERT_NE(w.differencesForm, nullptr);
    const auto& list = w.differencesForm->differences();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, "Base advance");
    EXPECT_EQ(list[0].windowValue, "14°");
    EXPECT_EQ(list[0].unitValue, "12°");
    EXPECT_EQ(list[0].fileValue, "10°");
    EXPECT_FALSE(w.differencesForm->tree()->isColumnHidden(3));
}
