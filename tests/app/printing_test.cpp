// Printing of the settings: the print look and its undoing, and a real page as PDF.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "app/printing.h"
#include "curveeditor/widget/tab.h"
#include "windowfixture.h"

namespace {

using PrintTest = WindowTest;

QColor windowColour(const QWidget* w) { return w->palette().color(QPalette::Window); }

TEST_F(PrintTest, PrintLookHidesOperatingElementsAndRestoreUndoesEverything)
{
    auto& w = open();
    const QColor face = QApplication::palette().color(QPalette::Window);
    // A grey opaque label and the red label of a message.
    findControl<QLabel>(w, "LabelRpm")->setAutoFillBackground(true);
    QPalette grey = findControl<QLabel>(w, "LabelRpm")->palette();
    grey.setColor(QPalette::Window, face);
    findControl<QLabel>(w, "LabelRpm")->setPalette(grey);
    const lang::LangText message{"###Failed##Fehler##Chyba"};
    w.showMessage(2, &message, 5000, 0x000000, 0x0000FF, 1);
    ASSERT_FALSE(findControl<QLabel>(w, "LabelConnection")->isVisibleTo(w.client)) << "hidden before printing";
    const QColor resultBack = windowColour(findControl<QLabel>(w, "LabelResult"));

    w.preparePrint(w.client);
    EXPECT_TRUE(findControl<QGroupBox>(w, "GroupBoxToolBar")->isHidden());
    EXPECT_TRUE(findControl<QCheckBox>(w, "CheckBoxProgHned")->isHidden());
    EXPECT_TRUE(findControl<app::UpDown>(w, "UpDownBaseAdv")->isHidden());
    EXPECT_TRUE(findControl<QPushButton>(w, "ButtonTestIgn1")->isHidden());
    EXPECT_EQ(w.curveEditor->view.printing, 1);
    EXPECT_EQ(windowColour(w.client), QColor(Qt::white));
    EXPECT_EQ(windowColour(findControl<QCheckBox>(w, "CheckBoxZakazCteni")), QColor(Qt::white)) << "grey backgrounds become white";
    EXPECT_FALSE(findControl<QLabel>(w, "LabelRpm")->autoFillBackground()) << "a grey label becomes transparent";
    EXPECT_TRUE(findControl<QLabel>(w, "LabelResult")->autoFillBackground()) << "a label with its own colour keeps it";
    EXPECT_EQ(windowColour(findControl<QLabel>(w, "LabelResult")), resultBack);
    EXPECT_GT(w.printChanges.count(), 0);

    w.restorePrint();
    EXPECT_EQ(w.printChanges.count(), 0);
    EXPECT_FALSE(findControl<QGroupBox>(w, "GroupBoxToolBar")->isHidden());
    EXPECT_FALSE(findControl<QCheckBox>(w, "CheckBoxProgHned")->isHidden());
    EXPECT_FALSE(findControl<app::UpDown>(w, "UpDownBaseAdv")->isHidden());
    EXPECT_FALSE(findControl<QPushButton>(w, "ButtonTestIgn1")->isHidden());
    EXPECT_TRUE(findControl<QLabel>(w, "LabelConnection")->isHidden()) << "what was hidden stays hidden";
    EXPECT_TRUE(findControl<app::Gauge>(w, "CGaugeProgram")->isHidden());
    EXPECT_EQ(w.curveEditor->view.printing, 0);
    EXPECT_EQ(windowColour(w.client), face);
    EXPECT_EQ(windowColour(findControl<QCheckBox>(w, "CheckBoxZakazCteni")), face);
    EXPECT_TRUE(findControl<QLabel>(w, "LabelRpm")->autoFillBackground());
}

TEST_F(PrintTest, ClassCodesFollowTheControls)
{
    auto& w = open();
    const struct {
        QWidget* control;
        int kind;
    } cases[] = {{findControl<QLabel>(w, "LabelRpm"), app::PrintLabel},           {findControl<app::UpDown>(w, "UpDownBaseAdv"), app::PrintUpDown},
                 {findControl<app::RadioGroup>(w, "RadioGroupPolarita"), app::PrintRadioGroup}, {findControl<QCheckBox>(w, "CheckBoxZakazCteni"), app::PrintCheckBox},
                 {findControl<QComboBox>(w, "ComboBoxBike"), app::PrintComboBox},     {findControl<QPushButton>(w, "ButtonRead"), app::PrintButton},
                 {findControl<QGroupBox>(w, "GroupBoxLimiters"), app::PrintGroupBox}, {w.curveEditor, app::PrintTab},
                 {findControl<app::Gauge>(w, "CGaugeRpm"), app::PrintGauge},           {findControl<QLineEdit>(w, "EditBaseAdv"), app::PrintEdit},
                 {findControl<QToolButton>(w, "SpeedButtonPrint"), app::PrintSpeedButton}};
    for (const auto& c : cases)
        EXPECT_EQ(app::printKind(c.control), c.kind) << c.control->objectName().toStdString();
}

TEST_F(PrintTest, CancelledPrinterChoiceChangesNothing)
{
    auto& w = open();
    w.choosePrinter = [](QPrinter&) { return false; };
    findControl<QAction>(w, "MenuPrint")->trigger();
    EXPECT_FALSE(findControl<QGroupBox>(w, "GroupBoxToolBar")->isHidden());
    EXPECT_EQ(w.printChanges.count(), 0);
}

TEST_F(PrintTest, PrintsTheWindowOnWhiteScaledToAPdfPage)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    auto& w = open();
    const lang::LangText message{"###Failed##Fehler##Chyba"};
    w.showMessage(2, &message, 5000, 0x000000, 0x0000FF, 1);
    const QString pdf = QString::fromStdString((dir / "settings.pdf").string());
    w.choosePrinter = [&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    findControl<QToolButton>(w, "SpeedButtonPrint")->click();
    EXPECT_EQ(w.printChanges.count(), 0);
    EXPECT_FALSE(findControl<QGroupBox>(w, "GroupBoxToolBar")->isHidden());

    const QString prefix = QString::fromStdString((dir / "page").string());
    ASSERT_EQ(QProcess::execute(pdftoppm, {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf, prefix}), 0);
    QImage page(prefix + ".png");
    ASSERT_FALSE(page.isNull());
    const QColor face = QApplication::palette().color(QPalette::Window);
    int red = 0, grey = 0, dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
            grey += std::abs(c.red() - face.red()) < 4 && std::abs(c.green() - face.green()) < 4 &&
                    std::abs(c.blue() - face.blue()) < 4;
            dark += c.lightness() < 100;
        }
    const int all = page.width() * page.height();
    EXPECT_GT(red, 20) << "the red result label keeps its colour";
    EXPECT_GT(dark, all / 1000) << "texts and frames are printed";
    EXPECT_LT(grey, all / 5) << "the grey window background is white in print";
}

}  // namespace
