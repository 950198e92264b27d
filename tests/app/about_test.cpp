// The About window from the Help menu.
#include <QAction>
#include <QRegularExpression>
#include <QtTest/QTest>

#include "app/about.h"
#include "windowfixture.h"

namespace {

using AboutTest = WindowTest;

TEST_F(AboutTest, CaptionFollowsTheLanguageAndTheBuildIsShown)
{
    auto& w = open();
    const struct {
        int language;
        const char* caption;
    } cases[] = {{lang::English, "About TAVRIN-X"},
                 {lang::German, "Über Programm TAVRIN-X"},
                 {lang::Czech, "O programu TAVRIN-X"}};
    for (const auto& c : cases) {
        w.setLanguage(c.language);
        int shown = 0;
        w.runModal = [&](QDialog& dialog) {
            auto& about = dynamic_cast<app::TFormAbout&>(dialog);
            ++shown;
            EXPECT_EQ(about.windowTitle(), c.caption);
            EXPECT_EQ(about.size(), QSize(342, 420));
            EXPECT_TRUE(QRegularExpression("^[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}$").match(about.LabelDate->text()).hasMatch())
                << about.LabelDate->text().toStdString();
            EXPECT_TRUE(QRegularExpression("^[0-2][0-9]:[0-5][0-9]:[0-6][0-9]$").match(about.LabelTime->text()).hasMatch());
            EXPECT_EQ(about.LabelRsKey->text(), "Version - 109");
            EXPECT_EQ(about.LabelExit->text(), "OK");
            EXPECT_EQ(about.LabelExit->geometry(), QRect(272, 368, 35, 29));
            return 0;
        };
        findControl<QAction>(w, "MenuAbout")->trigger();
        EXPECT_EQ(shown, 1);
    }
}

TEST_F(AboutTest, TheBuildDateIsTheOneOfTheStatusBar)
{
    auto& w = open();
    EXPECT_EQ(w.compileDate, devlink::compileDateFrom(app::buildDateText()));
}

TEST_F(AboutTest, ClickingOkClosesTheWindow)
{
    app::TFormAbout about;
    about.show();
    QTest::mouseClick(about.LabelExit, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
