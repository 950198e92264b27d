#include "cli/link_commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "lang/messageslots.h"
#include "link/comcom.h"
#include "link/monitor.h"
#include "link/portmap.h"
#include "link/rememberedunit.h"
#include "link/serialport.h"
#include "storage/settings.h"

namespace cli {

namespace {

constexpr int kTickMs = 55;

int fail(const char* command, const std::string& message, int code = 2)
{
    std::fprintf(stderr, "tavrin %s: %s\n", command, message.c_str());
    return code;
}

bool parseNumber(const std::string& text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end && *end == 0 && value >= low && value <= high;
}

// Keeps the last message of the connection label, so a unit of another identity can
// be named when nothing connects.
struct LastMessage : lang::MessageSlots {
    std::string text;
    void showMessage(int slot, const lang::LangText* shown, int, std::uint32_t, std::uint32_t, int) override
    {
        if (slot == 1 && shown)
            text = std::string(shown->pick(lang::English));
    }
};

// Keeps the link for `seconds`, a monitor exchange every 7 ticks as the idle window has.
void stayConnected(devlink::CCOMCOM& link, std::uint32_t& ms, double seconds)
{
    const int ticks = static_cast<int>(seconds * 1000 / kTickMs);
    for (int i = 0; i < ticks && link.linkState() != devlink::LinkNone; ++i) {
        if (i % 7 == 0)
            link.startMonitorExchange(devlink::monitorRequest(0));  // refused while a poll still runs
        std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
        ms += 50;
        link.tick(ms);
    }
}

}  // namespace

std::string noUnitMessage(devlink::CCOMCOM& link, int port, double timeout, const std::string& lastMessage)
{
    std::string message = "no unit answered within " + std::to_string(static_cast<int>(timeout)) + " s";
    if (port) {
        const std::string device = devlink::comDevicePath(port, link.deviceFolders());
        const int openError = link.channel(port).openError.load();
        if (device.empty())
            message += " (COM" + std::to_string(port) + " has no device)";
        else if (openError)
            message += " (" + devlink::openErrorText(device, openError) + ")";
        else
            message += " on COM" + std::to_string(port) + " (" + device + ")";
    }
    if (!lastMessage.empty())
        message += "; last: " + lastMessage;
    return message;
}

int runPorts(std::span<const std::string> args)
{
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            std::printf("Usage: tavrin ports\n"
                        "Lists every COM port with its device and whether the device exists now; a USB adapter\n"
                        "is shown with its maker, product and serial number, and keeps its COM number.\n"
                        "%s\n",
                        devlink::portSourceText().c_str());
            return 0;
        }
        return fail("ports", "unknown argument " + a + " (see tavrin ports --help)");
    }
    const devlink::DeviceFolders folders = devlink::defaultDeviceFolders();
    devlink::rememberAdapters(folders);  // an adapter seen here keeps its number in the window too
    const auto ports = devlink::listPorts(folders);
    if (ports.empty())
        std::printf("no serial ports (%s)\n", devlink::portSourceText().c_str());
    for (const devlink::PortEntry& p : ports)
        std::printf("COM%-4i %-40s %s%s%s%s\n", p.port, p.device.c_str(), p.exists ? "present" : "absent",
                    p.mapped ? " (port map)" : "", p.adapter.empty() ? "" : ": ", p.adapter.c_str());
    return 0;
}

int runIdentify(std::span<const std::string> args)
{
    long port = 0;
    double timeout = 15;
    double stay = 0;
    std::string logFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::printf("Usage: tavrin identify [--port N] [--timeout S] [--link-log FILE] [--stay S]\n"
                        "Searches the serial ports (or only COM N) until a TAVRIN-X answers and prints its\n"
                        "name, port, protocol, line speed and largest frame length. Exits with 2 when none\n"
                        "answers within S seconds (default 15). The link log is also attached by the\n"
                        "environment variable TAVRIN_LINK_LOG. --stay keeps the link S seconds after the\n"
                        "unit connected, exchanging its monitor block as the window does.\n");
            return 0;
        }
        if (i + 1 >= args.size())
            return fail("identify", a.starts_with("--") ? a + " needs a value" : "unknown argument " + a);
        const std::string& value = args[++i];
        if (a == "--port") {
            if (!parseNumber(value, 1, 255, port))
                return fail("identify", "--port needs a port number from 1 to 255");
        } else if (a == "--timeout") {
            char* end = nullptr;
            timeout = std::strtod(value.c_str(), &end);
            if (!end || *end || !(timeout > 0))
                return fail("identify", "--timeout needs a positive number of seconds");
        } else if (a == "--stay") {
            char* end = nullptr;
            stay = std::strtod(value.c_str(), &end);
            if (!end || *end || stay < 0)
                return fail("identify", "--stay needs a number of seconds");
        } else if (a == "--link-log") {
            logFile = value;
        } else {
            return fail("identify", "unknown argument " + a + " (see tavrin identify --help)");
        }
    }

    devlink::CCOMCOM link;
    std::string error;
    if (!logFile.empty() && !link.linkLog().attach(logFile, &error))
        return fail("identify", error);
    LastMessage messages;
    link.setMessageSlots(&messages);
    link.portSetting = static_cast<std::int32_t>(port);
    devlink::RememberedUnit remembered(storage::settingsPaths().applicationIni);
    remembered.applyTo(link);

    const int ticks = static_cast<int>(timeout * 1000 / kTickMs) + 1;
    std::uint32_t ms = 0;
    for (int i = 0; i < ticks && link.linkState() == devlink::LinkNone; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
        ms += 50;
        link.tick(ms);
    }
    remembered.learnFrom(link);
    if (link.linkState() == devlink::LinkNone)
        return fail("identify", noUnitMessage(link, static_cast<int>(port), timeout, messages.text));
    const devlink::SearchSlot& unit = link.connection;
    const auto& row = link.probeTable()[static_cast<std::size_t>(unit.probeIndex)];
    std::printf("%s\nport: COM%i (%s)\nprotocol: %s\nbaud: %u\nlargest frame: %u\n", unit.deviceName, unit.port,
                devlink::comDevicePath(unit.port, link.deviceFolders()).c_str(), devlink::protocolName(unit.codec.protocol),
                static_cast<unsigned>(row.baud), static_cast<unsigned>(unit.maxFrameLength));
    std::fflush(stdout);
    stayConnected(link, ms, stay);
    link.disconnect();
    return 0;
}

}  // namespace cli
