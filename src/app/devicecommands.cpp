// The device side of the window: the workflow's view (labels, gauge, status texts), the
// Device menu and buttons, the port menu and the port notification from other programs.

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <QMenu>
#include <QPushButton>

#include "app/devicepanel.h"
#include "app/mainform.h"
#include "app/parameterbinding.h"
#include "app/notifylistener.h"
#include "app/workflowview.h"
#include "lang/messagebox.h"
#include "link/portmessage.h"

namespace app {
namespace {

QString fromStd(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

const lang::LangText kBootloader{
    "###(Disconnected by bootloader)##(Von Bootloader getrennt)##(Dočasně odpojeno bootloaderem)"};

}  // namespace

void TMainForm::createDeviceLink()
{
    devlink::DeviceFolders folders = devlink::defaultDeviceFolders();
    if (options_.deviceFolders)
        folders = *options_.deviceFolders;
    else if (!options_.settingsFolder.isEmpty())
        folders.portMap = std::filesystem::path(options_.settingsFolder.toStdString()) / "ports";
    link = std::make_unique<devlink::CCOMCOM>(folders);
    if (!options_.linkLogPath.isEmpty())
        link->linkLog().attach(options_.linkLogPath.toStdString());
    else
        devlink::attachLogFromEnvironment(link->linkLog());
    link->setMessageSlots(this);
    workflowView_ = std::make_unique<WindowWorkflowView>(*this);
    workflow = std::make_unique<devlink::Workflow>(*link, state, *workflowView_);
}

void TMainForm::destroyDeviceLink()
{
    workflow.reset();
    link.reset();  // ends the job and port threads
}

void TMainForm::connectDeviceCommands()
{
    device_->connectCommands({
        .read = [this] { MenuReadClick(); },
        .verify = [this] { MenuVerifyClick(); },
        .program = [this] { MenuProgramClick(); },
        .reset = [this] { MenuResetClick(); },
        .choosePort = [this](int portSetting) { MenuCom1Click(portSetting); },
    });
}

bool TMainForm::unitConnected() const { return workflow && workflow->connected(); }

void TMainForm::MenuReadClick() { workflow->requestRead(); }

void TMainForm::MenuVerifyClick()
{
    binding_->readControls();
    params::normalize(state.params);
    binding_->fillControls();
    workflow->requestVerify();
}

void TMainForm::MenuProgramClick()
{
    if (!unitConnected())
        return;
    if (settings.newInstall) {
        lang::showMessageBox(texts[lang::Msg::NewInstallation], texts[lang::Msg::Attention],
                             lang::MbOk | lang::MbIconError);
        return;
    }
    binding_->readControls();
    params::normalize(state.params);
    binding_->fillControls();
    workflow->requestProgram();
}

void TMainForm::MenuResetClick() { workflow->requestReset(); }

// --- port menu ---

void TMainForm::portMenuRefresh()
{
    link->portListChanged.store(0, std::memory_order_release);
    const int setting = link->portSetting;
    const int connectedPort = int(link->connectedPort.load(std::memory_order_acquire));
    std::vector<int> listed;
    for (int port = 0; port < devlink::kPortCount; ++port)
        if (link->channel(port).exists.load(std::memory_order_acquire) || (setting > 0 && port == setting))
            listed.push_back(port);
    PortMenuContents menu;
    menu.offlineText = fromStd(texts[lang::Msg::ComOffline]);
    menu.offlineChecked = setting == -1;
    menu.automaticText = fromStd(texts[lang::Msg::ComAuto]);
    menu.automaticChecked = setting == 0;
    menu.exclusive = setting == 0;
    const int chosen = setting == 0 ? connectedPort : setting;
    const int shown = std::min(int(listed.size()), kPortMenuPlaces);
    for (int i = 0; i < shown; ++i) {
        int port = listed[std::size_t(i)];
        // The chosen port takes the last place when the list goes past it.
        if (i == shown - 1 && chosen > port)
            port = chosen;
        menu.ports.push_back({port, port == chosen, link->channel(port).exists.load(std::memory_order_acquire) != 0});
    }
    device_->showPortMenu(menu);
}

void TMainForm::MenuCom1Click(int portSetting)
{
    link->portSetting = portSetting;
    if (!workflow->searchEnabled())
        workflow->userReconnect();
    const int connectedPort = int(link->connectedPort.load(std::memory_order_acquire));
    if (connectedPort != 0 && link->portSetting != 0 && link->portSetting != connectedPort)
        workflow->workflowDisconnect();
    portMenuRefresh();
    settings.comPort = link->portSetting;
    saveSettings();
}

// --- port notification ---

void TMainForm::listenForPortNotifications()
{
    // The window message of other programs (Windows): the filter takes it, the window's
    // property tells the sender which window is ours.
    portMessageFilter_ = std::make_unique<PortMessageFilter>(
        [this](int port, std::uint32_t code) { onPortNotification(port, code); });
    QCoreApplication::instance()->installNativeEventFilter(portMessageFilter_.get());
    if (QGuiApplication::platformName() == QLatin1String("windows"))
        devlink::acceptPortMessages(reinterpret_cast<void*>(winId()));

    if (options_.notifySocketPath.isEmpty())
        return;
    notifyListener_ = new NotifyListener([this](int port, std::uint32_t code) { onPortNotification(port, code); }, this);
    std::string error;
    if (!notifyListener_->listen(QFile::encodeName(options_.notifySocketPath).toStdString(), error)) {
        std::fprintf(stderr, "tavrin: %s; this window runs without port notifications\n", error.c_str());
        delete notifyListener_;
        notifyListener_ = nullptr;
    }
}

void TMainForm::onPortNotification(int port, std::uint32_t code)
{
    const bool wasEnabled = workflow->searchEnabled();
    workflow->onPortNotification(port, code);
    if (wasEnabled != workflow->searchEnabled())
        applyLanguageTexts();
}

QString TMainForm::bootloaderTitleText() const
{
    if (!workflow || workflow->searchEnabled())
        return {};
    return fromStd(kBootloader.pick());
}

}  // namespace app
