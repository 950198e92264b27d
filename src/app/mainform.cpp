#include "app/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTextStream>

#include "app/desktop.h"
#include "app/devicepanel.h"
#include "app/filepanel.h"
#include "app/playerpanel.h"
#include "app/parameterbinding.h"
#include "app/differencesdialog.h"
#include "app/workflowview.h"
#include "app/zoom.h"
#include "lang/langtext.h"
#include "params/presets.h"
#include "util/buildstamp.h"

namespace app {
namespace {

int g_msClock = 0;
constexpr int kTimerIntervalMs = 55;
constexpr int kProgramVersion = 109;

}  // namespace

QString defaultTestFlagsPath()
{
    return QString::fromStdU16String(storage::testFlagsFilePath().u16string());
}

int TMainForm::msClock() { return g_msClock; }

TMainForm::TMainForm(StartOptions options, QWidget* parent) : QMainWindow(parent), options_(std::move(options))
{
    setObjectName(QStringLiteral("MainForm"));
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    device_ = std::make_unique<DevicePanel>(*this);
    file_ = std::make_unique<FilePanel>();
    binding_ = std::make_unique<ParameterBinding>(state, texts);
    // The window shows the program's icon; decoding its files again costs start-up time.
    if (QGuiApplication::windowIcon().isNull())
        setWindowIcon(programIcon());
    createDeviceLink();
    setWindowTitle(QStringLiteral("Programming of \"TAVRIN-X\" unit"));
    createControls();
    createMenus();
    connectBinding();
    connectFileCommands();
    connectDeviceCommands();
    connectMonitorLog();
    connectDifferences();
    createViewMenu();
    resize(designedSize());
    move(323, 203);
    // Construction: no unit values yet, the active curve of the unit unknown.
    state.unitActiveCurve = -1;
    state.unitParametersValid = false;
    noUpdateCheck = false;
    timer_.setInterval(kTimerIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TMainForm::Timer1Timer);
}

// What an edit in the parameter binding sets off in the rest of the window.
void TMainForm::connectBinding()
{
    binding_->connectHooks({
        .curvesFilled = [this] { loadCurveEditor(); },
        .curveStateShown =
            [this](bool curveKnown, bool startLimiter) {
                curveEditorBand->setVisible(curveKnown);
                showStartLimiterMarker(startLimiter);
            },
        .statesShown =
            [this](int presetCode, bool presetChanged) {
                device_->setMeasuredPolarityShown(params::presetShowsMeasuredPolarity(presetCode));
                if (presetChanged)
                    applyLanguageTexts();
                showMonitor();
            },
        .stepStored =
            [this] {
                params::compareWithUnitAndFile(state, *this);
                saveSettings();
                recordParameters(false);
            },
        .stepRestored =
            [this] {
                params::compareWithUnitAndFile(state, *this);
                // A running recording gets the restored set too: without it a replay would
                // go on showing the set from before the undo.
                recordParameters(false);
            },
        .historyReset = [this] { saveSettings(); },
        .programNow = [this] { workflow->requestQuickProgram(); },
        .testButton = [this](int bit) { workflow->testCommand |= 1 << bit; },
        .focusNext = [this] { focusNextChild(); },
    });
}

// The design's outer size less the frame and caption the window manager adds.
QSize TMainForm::designedSize() const { return {1127, 1020 - 31}; }

TMainForm::~TMainForm()
{
    // The widgets are taken down after the window's own members; an edit box losing the
    // focus on the way must not commit into them.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        edit->removeEventFilter(this);
        edit->removeEventFilter(binding_.get());
        disconnect(edit, nullptr, this, nullptr);
        disconnect(edit, nullptr, binding_.get(), nullptr);
    }
    destroyDeviceLink();
}



void TMainForm::FormCreate()
{
    // 1. settings paths
    settingsPaths = options_.settingsFolder.isEmpty()
                        ? storage::settingsPaths()
                        : storage::settingsPathsIn(options_.settingsFolder.toStdString());
    // Backups kept in the settings folder by earlier versions move to the state folder.
    backupFolder = storage::unitBackupFolder(
        settingsPaths.folder, options_.stateFolder.isEmpty() ? storage::stateFolderPath()
                                                             : std::filesystem::path(options_.stateFolder.toStdString()));
    // 2. message slots
    device_->hideMessages();
    // 3. choice lists
    params::normalize(state.params);
    portMenuReady_ = true;
    portMenuRefresh();
    binding_->fillChoiceLists();
    binding_->allowPickupPulses();
    // 5. preset defaults
    state.params[params::idx::Bike] = 0;
    params::applyPresetDefaults(state.params);
    // 6. centred on the screen
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    // 7.
    defaultFilePath = QCoreApplication::applicationDirPath() + QStringLiteral("/data.ign");
    // 8. settings and the parameter set of the last run
    loadStartupSettings();
    link->portSetting = settings.comPort;
    rememberedUnit = std::make_unique<devlink::RememberedUnit>(settingsPaths.applicationIni);
    rememberedUnit->applyTo(*link);
    // The zoom of the settings, else the one that fits the screen; the window grows to it.
    setZoom(settings.zoom);
    settingsReady_ = true;
    // 9. command line
    applyCommandLine();
    // The choice lists take the language of the settings or the command line.
    binding_->fillChoiceLists();
    // 10.
    params::normalize(state.params);
    applyLanguageTexts();
    binding_->fillControls();
    historyMenuRefresh();
    binding_->resetHistory();
    binding_->fillControls();
    // 11.
    resetStatusTexts();
    // 12.
    device_->hideDataError();
    LabelVersion->hide();
    // 13. test flags
    readTestFlags();
    workflow->testEnabled = testEnabled;
    device_->setTestLabelsVisible(testEnabled);
    // 14.
    binding_->refreshControlStates();
    // 15.
    player_->setShown(testEnabled);
    binding_->showFourStroke();
    // 16.
    device_->setStatusText(2, QString::fromStdString(devlink::buildProgramInfoText(compileDate, newVersionText)));
    showMonitor();
    refreshTitle();
    // 17.
    setAcceptDrops(true);
    listenForPortNotifications();
    // 19.
    binding_->refreshControlStates();
    startUpdateThread();
    created = true;
    if (options_.startTimer)
        timer_.start();
}

void TMainForm::resetStatusTexts()
{
    newVersionText.clear();
    compileDate = devlink::compileDateFrom(util::buildDate());
}

void TMainForm::applyCommandLine()
{
    const QString first = options_.arguments.value(0);
    if (first == QLatin1String("ENGLISH"))
        lang::setCurrentLanguage(lang::English);
    else if (first == QLatin1String("DEUTSCH"))
        lang::setCurrentLanguage(lang::German);
    else if (first == QLatin1String("CESKY"))
        lang::setCurrentLanguage(lang::Czech);
    else if (first == QLatin1String("nopatchcheck"))
        noUpdateCheck = true;
    if (options_.language)
        lang::setCurrentLanguage(*options_.language);
}

void TMainForm::readTestFlags()
{
    testEnabled = false;
    QFile file(options_.testFlagsPath);
    if (options_.testFlagsPath.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    while (!in.atEnd()) {
        QString word;
        in >> word;
        if (word == QLatin1String("TEST_ENABLE"))
            testEnabled = true;
    }
}

void TMainForm::Timer1Timer()
{
    ++tickCount;
    g_msClock = tickCount * 50;
    if (!created)
        return;
    if (firstCreatedTick_) {
        firstCreatedTick_ = false;
        binding_->focusStart();
    }
    workflow->tick(tickCount, std::uint32_t(g_msClock));
    rememberedUnit->learnFrom(*link);
    if (link->portListChanged.load(std::memory_order_acquire))
        portMenuRefresh();
    curveEditorTick();
    expireMessages();
    updateTick();
    device_->setCommandsEnabled(unitConnected());
    binding_->takeTypedPickup();
    device_->setStatusText(4, QString::fromStdString(workflow->statusText()));
    playTick();
    explainPortPermission();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TMainForm::FormClose()
{
    if (closed_)
        return;
    closed_ = true;
    timer_.stop();
    stopLog();  // a recording is written, a replay gives the user's set back before it is saved
    stopUpdateThread();
    link->requestCloseAll();
    link->managePorts();
    binding_->readControls();
    params::normalize(state.params);
    saveSettings();
    device_->clearMessages();
}

bool TMainForm::event(QEvent* event)
{
    // Hints go to the first panel only; the status bar's own message would hide all five.
    if (event->type() == QEvent::StatusTip) {
        device_->setStatusText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

// --- message slots ---

void TMainForm::showMessage(int slot, const lang::LangText* text, int durationMs, std::uint32_t fontColour,
                            std::uint32_t backColour, int priority)
{
    device_->showMessage(slot, text, durationMs, fontColour, backColour, priority, tickCount, client->palette());
}

void TMainForm::expireMessages() { device_->expireMessages(tickCount); }

QString TMainForm::windowTitleText() const
{
    QString title = QStringLiteral("  Tavrin (v%1)       ").arg(kProgramVersion);
    if (state.sameAsFile)
        title += currentFileName;
    if (const QString bootloader = bootloaderTitleText(); !bootloader.isEmpty())
        title += (state.sameAsFile && !currentFileName.isEmpty() ? QStringLiteral("   ") : QString()) + bootloader;
    return title;
}

void TMainForm::refreshTitle()
{
    setWindowTitle(windowTitleText());
    // The congruence comparison ends here: an open list of differences follows it.
    if (differencesForm && differencesForm->isVisible())
        differencesForm->refresh();
}

// --- language ---

void TMainForm::applyLanguageTexts()
{
    const int language = lang::currentLanguage();
    texts.apply(language);
    useQtTranslations(language);
    auto text = [language](const lang::TextRow& row) { return QString::fromUtf8(row.pick(language).data(), qsizetype(row.pick(language).size())); };
    for (const lang::TextRow& row : lang::ownCaptionTable()) {
        const QString name = QString::fromLatin1(row.name.data(), qsizetype(row.name.size()));
        if (auto* menu = findChild<QMenu*>(name))
            menu->setTitle(text(row));
        else if (auto* group = findChild<QGroupBox*>(name))
            group->setTitle(text(row));
        else if (auto* button = findChild<QAbstractButton*>(name))
            button->setText(text(row));
        else if (auto* label = findChild<QLabel*>(name))
            setLabelText(label, text(row));
        else if (auto* action = findChild<QAction*>(name))
            action->setText(text(row));
    }
    for (const lang::TextRow& row : lang::controlCaptionTable()) {
        const QString name = QString::fromLatin1(row.name.data(), qsizetype(row.name.size()));
        if (name.endsWith(QLatin1String(".items"))) {
            if (auto* group = findChild<RadioGroup*>(name.section(QLatin1Char('.'), 0, 0)))
                group->setItems(text(row).split(QLatin1Char('\n')));
        } else if (auto* group = findChild<QGroupBox*>(name)) {
            group->setTitle(text(row));
        } else if (auto* button = findChild<QAbstractButton*>(name)) {
            button->setText(text(row));
        } else if (auto* label = findChild<QLabel*>(name)) {
            setLabelText(label, text(row));
        } else if (auto* action = findChild<QAction*>(name)) {
            action->setText(text(row));
        }
    }
    for (const lang::TextRow& row : lang::menuCaptionTable()) {
        const QString name = QString::fromLatin1(row.name.data(), qsizetype(row.name.size()));
        if (auto* menu = findChild<QMenu*>(name))
            menu->setTitle(text(row));
        else if (auto* action = findChild<QAction*>(name))
            action->setText(text(row));
    }
    if (differencesForm)
        differencesForm->refresh();
    MenuEnglish->setChecked(language == lang::English);
    MenuGerman->setChecked(language == lang::German);
    MenuCzech->setChecked(language == lang::Czech);
    device_->retranslate();
    if (portMenuReady_)
        portMenuRefresh();
    for (const lang::TextRow& row : lang::hintTable()) {
        const QString name = QString::fromLatin1(row.name.data(), qsizetype(row.name.size()));
        if (auto* menu = findChild<QMenu*>(name)) {
            // A menu-bar title shows the status tip of the menu's action.
            menu->menuAction()->setStatusTip(text(row));
            menu->setToolTip(text(row));
        } else if (auto* widget = findChild<QWidget*>(name)) {
            widget->setToolTip(text(row));
            widget->setStatusTip(text(row));
        } else if (auto* action = findChild<QAction*>(name)) {
            action->setToolTip(text(row));
            action->setStatusTip(text(row));
        }
    }
}

}  // namespace app
