// The device part of the main window: its controls at their design places, the message
// slots, the port menu and the monitor panel.

#include "app/devicepanel.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/placement.h"
#include "lang/messageslots.h"
#include "link/monitor.h"
#include "link/workflow.h"

namespace app {
namespace {

constexpr int kClientWidth = 1119;

QString fromStd(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

void showLabel(QLabel* label, const devlink::LabelView& view, const QPalette& neutral)
{
    setLabelText(label, QString::fromStdString(view.text));
    const QColor back = view.back == devlink::kNeutral ? neutral.color(QPalette::Window) : bgrColour(view.back);
    // Each monitor block shows the same colours again and again; setting an unchanged
    // palette still resolves it against the parent's and schedules a repaint.
    if (label->palette().color(QPalette::Window) != back) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, back);
        label->setPalette(palette);
    }
    label->setAutoFillBackground(view.back != devlink::kNeutral);
    label->setEnabled(view.enabled);
}

}  // namespace

DevicePanel::DevicePanel(QMainWindow& window) : window_(window) {}

DevicePanel::~DevicePanel() = default;

void DevicePanel::createToolButtons(QWidget* tb)
{
    ButtonRead = button(tb, "ButtonRead", 206, 13, 57, 23, "&Read", "Read|Reading parametrs from ignition");
    ButtonVerify =
        button(tb, "ButtonVerify", 273, 13, 65, 23, "Verify", "Verify|Compare set parametrs  with parametrs of ignition");
    ButtonProgram = button(tb, "ButtonProgram", 347, 13, 81, 23, "Program",
                           "Programing|Programing  set parametrs to ignition");
}

void DevicePanel::createMessageLabels(QWidget* c)
{
    LabelConnection = label(c, "LabelConnection", 673, 2, "No Connection", 23, true, 174, 29);
    setBackground(LabelConnection, lang::colour::Red);
    LabelCongruence = label(c, "LabelCongruence", 673, 25, "Ign settings are identical", 15, true, 170, 16);
    setBackground(LabelCongruence, lang::colour::Red);
    LabelCom = label(c, "LabelCom", 987, 12, "COM = --", 16, false, 69, 20);
    // The message labels grow with their text up to their neighbour on the right (the
    // port label, the window's edge), so that no message runs into another.
    for (QLabel* l : {LabelConnection, LabelCongruence, LabelCom})
        l->setProperty("autoSize", true);
    LabelConnection->setProperty("designWidthLimit", 987 - 673 - 4);
    LabelCongruence->setProperty("designWidthLimit", 987 - 673 - 4);
    LabelCom->setProperty("designWidthLimit", kClientWidth - 987 - 4);
}

void DevicePanel::createMonitorFirstColumn(QWidget* c)
{
    LabelNapeti = label(c, "LabelNapeti", 529, 448, "U = --- [V]", 11, true, -1, 16);
    LabelMonInput1In = label(c, "LabelMonInput1In", 529, 474, "Vstup 1:", 11, false, -1, 16);
    LabelMonInput2In = label(c, "LabelMonInput2In", 530, 497, "Vstup 2:", 11, false, -1, 16);
    LabelKillSwitch = label(c, "LabelKillSwitch", 530, 523, "Kill switch = ---", 11, false, -1, 16);
    LabelBlocking = label(c, "LabelBlocking", 530, 550, "Blocking = --", 11, false, -1, 16);
    LabelMonCurve = label(c, "LabelMonCurve", 530, 575, "Curve = --", 11, false, -1, 16);
    LabelClutchMon = label(c, "LabelClutchMon", 530, 596, "Clutch = --", 11, false, -1, 16);
    LabelMonStartLimiterOut = label(c, "LabelMonStartLimiterOut", 530, 619, "Limiter 1 = --", 11, false, -1, 16);
    LabelMonHardLimiter = label(c, "LabelMonHardLimiter", 530, 641, "Limiter:--", 11, false, -1, 16);
    LabelMonLedRazeni = label(c, "LabelMonLedRazeni", 529, 666, "Pilot light:---", 11, false, -1, 16);
}

void DevicePanel::createMonitorSecondColumn(QWidget* c)
{
    LabelMon_Advance = label(c, "LabelMon_Advance", 746, 453, "ADVANCE= --- [°]", 16, true);
    LabelRpm = label(c, "LabelRpm", 746, 475, "RPM = ---", 16, true);
    CGaugeRpm = place(new Gauge(c), "CGaugeRpm", 753, 497, 303, 16);
    CGaugeRpm->setBarColour(QColor(Qt::magenta));
    LabelSnimac = label(c, "LabelSnimac", 753, 515, "Geber = --- ", 16);
    LabelPolaritaMer = label(c, "LabelPolaritaMer", 753, 537, "Polarity = --", 16);
    LabelEeDataErr = label(c, "LabelEeDataErr", 746, 563, "Programmed data error", 19, true, 217, 24);
    setBackground(LabelEeDataErr, lang::colour::Red);
    LabelEeDataErr->hide();
    LabelResult = label(c, "LabelResult", 746, 591, "Programming:", 15, true);
    LabelResult->setProperty("designWidthLimit", kClientWidth - 746 - 4);
    LabelResult->hide();
    CGaugeProgram = place(new Gauge(c), "CGaugeProgram", 748, 614, 301, 16);
    CGaugeProgram->setBarColour(QColor(Qt::cyan));
    CGaugeProgram->hide();
    LabelPocetProgramovani = label(c, "LabelPocetProgramovani", 748, 636, "Number of Programing: -----");
    LabelHourMeter = label(c, "LabelHourMeter", 748, 661, "", 16);
}

void DevicePanel::createTestLabels(QWidget* c)
{
    const int testLeft[8] = {12, 124, 247, 366, 483, 609, 726, 844};
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "LabelTest" + QByteArray::number(i + 1);
        LabelTest[std::size_t(i)] =
            label(c, name.constData(), testLeft[i], 835, QStringLiteral("Test%1 = ---").arg(i + 1), 15, true, 71, 16);
        LabelTest[std::size_t(i)]->setProperty("autoSize", true);  // five-digit values need more than 71
        LabelTest[std::size_t(i)]->hide();
    }
}

void DevicePanel::createStatusBar()
{
    auto* bar = new QStatusBar(&window_);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(18);
    const int widths[5] = {400, 30, 280, 30, 300};
    const char* texts[5] = {"", "EXE", "exe", "HEX", "hex"};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(QString::fromLatin1(texts[i]), bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i == 1 || i == 3)
            panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        bar->addWidget(panel);
        statusPanels[std::size_t(i)] = panel;
    }
    window_.setStatusBar(bar);
}

void DevicePanel::createPortMenu(QMenuBar* bar)
{
    MenuCom = menu(bar, "MenuCom", "&Com");
    for (int i = 0; i < 30; ++i) {
        const QByteArray name = "MenuCom" + QByteArray::number(i + 1);
        portItems[std::size_t(i)] = item(MenuCom, name.constData(), QStringLiteral("COM%1").arg(i + 1));
        portItems[std::size_t(i)]->setVisible(false);
    }
    portGroup_ = new QActionGroup(&window_);
}

void DevicePanel::createDeviceMenu(QMenuBar* bar)
{
    MenuDevice = menu(bar, "MenuDevice", "&Device");
    MenuRead = item(MenuDevice, "MenuRead", "&Read", QKeySequence(Qt::Key_F7));
    MenuVerify = item(MenuDevice, "MenuVerify", "&Verify", QKeySequence(Qt::Key_F8));
    MenuProgram = item(MenuDevice, "MenuProgram", "&Program", QKeySequence(Qt::Key_F9));
    MenuReset = item(MenuDevice, "MenuReset", "&Reset");
}

void DevicePanel::connectCommands(Commands commands)
{
    auto run = [](const std::function<void()>& command) { return [command] { command(); }; };
    connect(MenuRead, &QAction::triggered, this, run(commands.read));
    connect(ButtonRead, &QPushButton::clicked, this, run(commands.read));
    connect(MenuVerify, &QAction::triggered, this, run(commands.verify));
    connect(ButtonVerify, &QPushButton::clicked, this, run(commands.verify));
    connect(MenuProgram, &QAction::triggered, this, run(commands.program));
    connect(ButtonProgram, &QPushButton::clicked, this, run(commands.program));
    connect(MenuReset, &QAction::triggered, this, run(commands.reset));
    for (std::size_t i = 0; i < portItems.size(); ++i)
        connect(portItems[i], &QAction::triggered, this, [this, i, choose = commands.choosePort] {
            if (i == 2)
                return;  // the line
            choose(i == 0 ? -1 : i == 1 ? 0 : portItems[i]->data().toInt());
        });
}

// --- message slots ---

void DevicePanel::showMessage(int slotIndex, const lang::LangText* text, int durationMs, std::uint32_t fontColour,
                              std::uint32_t backColour, int priority, int tickCount, const QPalette& normal)
{
    if (slotIndex < 1 || slotIndex > 4)
        return;
    Slot& slot = slots_[std::size_t(slotIndex)];
    if (!slot.label)
        return;
    if (!slot.text || slot.label->isHidden())
        slot.priority = -1;
    if (priority >= 0 && priority < slot.priority)
        return;
    slot.priority = priority;
    slot.text.reset();
    if (!text) {
        slot.label->hide();
        if (slotIndex == 2)
            CGaugeProgram->hide();
        return;
    }
    slot.text = std::make_unique<lang::LangText>(*text);
    setLabelText(slot.label, fromStd(slot.text->pick()));
    slot.label->show();
    QPalette palette = slot.label->palette();
    if (fontColour != lang::kColourUnchanged)
        palette.setColor(QPalette::WindowText, bgrColour(fontColour));
    if (backColour == devlink::kBackNormal) {
        slot.label->setAutoFillBackground(false);
        palette.setColor(QPalette::Window, normal.color(QPalette::Window));
    } else if (backColour != lang::kColourUnchanged) {
        slot.label->setAutoFillBackground(true);
        palette.setColor(QPalette::Window, bgrColour(backColour));
    }
    slot.label->setPalette(palette);
    if (durationMs > 0)
        slot.expiry = durationMs / 50 + tickCount;
    else if (durationMs < 0)
        slot.expiry = -1;
}

void DevicePanel::expireMessages(int tickCount)
{
    for (std::size_t i = 1; i < slots_.size(); ++i) {
        Slot& slot = slots_[i];
        if (slot.label && slot.expiry > 0 && slot.expiry < tickCount) {
            slot.expiry = 0;
            slot.label->hide();
            if (i == 2)
                CGaugeProgram->hide();
        }
    }
}

void DevicePanel::hideMessages()
{
    slots_[1].label = LabelConnection;
    slots_[2].label = LabelResult;
    slots_[4].label = LabelCongruence;
    for (Slot& slot : slots_)
        if (slot.label) {
            slot.label->hide();
            slot.priority = -1;
            slot.expiry = 0;
        }
    CGaugeProgram->hide();
}

void DevicePanel::clearMessages()
{
    for (Slot& slot : slots_)
        slot.text.reset();
}

void DevicePanel::retranslate()
{
    ButtonRead->setText(MenuRead->text());
    ButtonVerify->setText(MenuVerify->text());
    ButtonProgram->setText(MenuProgram->text());
    // The shown messages follow the language too (they keep all three texts).
    for (Slot& slot : slots_)
        if (slot.label && slot.text)
            setLabelText(slot.label, fromStd(slot.text->pick()));
}

// --- what the workflow shows ---

void DevicePanel::setGauge(int percent, std::uint32_t colour, bool visible)
{
    CGaugeProgram->setValue(percent);
    if (colour != lang::kColourUnchanged)
        CGaugeProgram->setBarColour(bgrColour(colour));
    CGaugeProgram->setVisible(visible && !LabelResult->isHidden());
}

void DevicePanel::setPortLabel(const QString& text) { setLabelText(LabelCom, text); }

void DevicePanel::setCommandsEnabled(bool connected)
{
    for (QWidget* button : std::initializer_list<QWidget*>{ButtonRead, ButtonVerify, ButtonProgram})
        button->setEnabled(connected);
    for (QAction* action : {MenuRead, MenuVerify, MenuProgram, MenuReset})
        action->setEnabled(connected);
}

void DevicePanel::showPortMenu(const PortMenuContents& contents)
{
    const int visible = std::min(int(contents.ports.size()) + 3, int(portItems.size()));
    for (int i = 0; i < int(portItems.size()); ++i) {
        QAction* action = portItems[std::size_t(i)];
        action->setVisible(i < visible);
        action->setSeparator(i == 2);
        if (i == 2)
            action->setText(QString());  // a plain line: a separator with a text shows it as a heading
        action->setCheckable(i != 2);
        action->setActionGroup(nullptr);
    }
    portItems[0]->setText(contents.offlineText);
    portItems[0]->setChecked(contents.offlineChecked);
    portItems[0]->setEnabled(true);
    portItems[1]->setText(contents.automaticText);
    portItems[1]->setChecked(contents.automaticChecked);
    portItems[1]->setEnabled(true);
    for (int i = 3; i < visible; ++i) {
        const PortMenuEntry& entry = contents.ports[std::size_t(i - 3)];
        QAction* action = portItems[std::size_t(i)];
        action->setText(QStringLiteral("COM&%1").arg(entry.port));
        action->setData(entry.port);
        action->setActionGroup(contents.exclusive ? portGroup_ : nullptr);
        action->setChecked(entry.checked);
        action->setEnabled(entry.enabled);
    }
}

void DevicePanel::showMonitor(const devlink::MonitorView& v, const QPalette& neutral)
{
    const std::pair<QLabel*, const devlink::LabelView*> labels[] = {
        {LabelNapeti, &v.voltage},         {LabelMonInput1In, &v.input1},
        {LabelMonInput2In, &v.input2},     {LabelKillSwitch, &v.killSwitch},
        {LabelBlocking, &v.blocking},      {LabelMonCurve, &v.curve},
        {LabelClutchMon, &v.clutch},       {LabelMonStartLimiterOut, &v.startLimiter},
        {LabelMonHardLimiter, &v.limiter}, {LabelMonLedRazeni, &v.pilotLight},
        {LabelSnimac, &v.pickup},          {LabelPolaritaMer, &v.polarity},
        {LabelMon_Advance, &v.advance},
    };
    for (const auto& [label, view] : labels)
        showLabel(label, *view, neutral);
    setLabelText(LabelRpm, QString::fromStdString(v.rpm));
    CGaugeRpm->setValue(std::clamp(v.rpmBarPercent, 0, 100));
    setLabelText(LabelPocetProgramovani, QString::fromStdString(v.programmingCount));
    setLabelText(LabelHourMeter, QString::fromStdString(v.hourMeter));
    LabelEeDataErr->setVisible(v.dataErrorVisible);
    for (std::size_t i = 0; i < LabelTest.size(); ++i)
        setLabelText(LabelTest[i], QString::fromStdString(v.tests[i]));
}

void DevicePanel::setTestLabelsVisible(bool visible)
{
    for (QLabel* l : LabelTest)
        l->setVisible(visible);
}

void DevicePanel::hideDataError()
{
    LabelEeDataErr->hide();
    CGaugeProgram->hide();
    CGaugeProgram->setMaximum(100);
}

void DevicePanel::setMeasuredPolarityShown(bool shown) { LabelPolaritaMer->setVisible(shown); }

void DevicePanel::setStatusText(int panel, const QString& text) { statusPanels[std::size_t(panel)]->setText(text); }

QString DevicePanel::statusText(int panel) const { return statusPanels[std::size_t(panel)]->text(); }

}  // namespace app
