// The Windows side of the serial seam: COM numbers and their device names, the port
// list, and what an open of a missing port says. The line itself is exercised against
// the simulated unit by the smoke test under wine.

#include <gtest/gtest.h>

#include <cerrno>

#include <windows.h>

#include "cli/notify_command.h"
#include "link/portmap.h"
#include "link/portmessage.h"
#include "link/serialport.h"

namespace {

TEST(PortsWindows, ComNumbersOpenAsDosDevices)
{
    const devlink::DeviceFolders folders = devlink::defaultDeviceFolders();
    EXPECT_EQ(devlink::comDevicePath(7, folders), "\\\\.\\COM7");
    EXPECT_EQ(devlink::comDevicePath(255, folders), "\\\\.\\COM255");
    EXPECT_EQ(devlink::comDevicePath(0, folders), "");
    EXPECT_EQ(devlink::comDevicePath(256, folders), "");
}

TEST(PortsWindows, PortListComesFromTheSystem)
{
    bool failed = true;
    const auto names = devlink::comNames(devlink::defaultDeviceFolders(), &failed);
    EXPECT_FALSE(failed);
    const auto present = devlink::markComNames(names);
    EXPECT_FALSE(present.test(0));
    for (const devlink::PortEntry& entry : devlink::listPorts(devlink::defaultDeviceFolders())) {
        EXPECT_TRUE(present.test(std::size_t(entry.port))) << entry.port;
        EXPECT_FALSE(entry.device.empty());
    }
}

TEST(PortsWindows, MissingPortSaysSo)
{
    const devlink::OpenResult opened = devlink::openSerialPort("\\\\.\\COM231", 57600);
    ASSERT_FALSE(opened.port);
    EXPECT_EQ(opened.error, ENOENT);
    EXPECT_EQ(devlink::openErrorText("\\\\.\\COM231", opened.error), "cannot open \\\\.\\COM231: no such port");
}

TEST(PortsWindows, PortInUseSaysSo)
{
    EXPECT_NE(devlink::openErrorText("\\\\.\\COM5", EBUSY).find("another program is using the port"),
              std::string::npos);
}

// ---- the port notification, as the firmware loader sends it ----

struct Received {
    int count = 0;
    WPARAM port = 0;
    LPARAM code = 0;
};
Received g_received;

LRESULT CALLBACK recordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == devlink::kPortNotificationMessage) {
        ++g_received.count;
        g_received.port = wParam;
        g_received.code = lParam;
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(PortNotificationWindows, WithoutAWindowTheSenderSaysSo)
{
    std::string error;
    EXPECT_FALSE(cli::sendPortNotification({}, 5, 0x7FFFFFA1u, error));
    EXPECT_EQ(error, "no Tavrin window is running");
}

TEST(PortNotificationWindows, MarkedWindowReceivesPortAndCode)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = recordingWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TavrinPortNotificationTest";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                    nullptr, windowClass.hInstance, nullptr);
    if (!window)
        GTEST_SKIP() << "no window station to create a window in";
    HWND unmarked = ::CreateWindowExW(0, windowClass.lpszClassName, L"other", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                      nullptr, nullptr, windowClass.hInstance, nullptr);
    devlink::acceptPortMessages(window);

    g_received = {};
    std::string error;
    ASSERT_TRUE(cli::sendPortNotification({}, 5, 0x7FFFFFA4u, error)) << error;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
    EXPECT_EQ(g_received.count, 1) << "only the marked window";
    EXPECT_EQ(g_received.port, WPARAM(5));
    EXPECT_EQ(DWORD(g_received.code), 0x7FFFFFA4u);

    ::RemovePropW(window, devlink::kPortNotificationProperty);
    ::DestroyWindow(unmarked);
    ::DestroyWindow(window);
}

// What the main window's native event filter sees: the MSG of the port message, and
// nothing in any other message or event type.
TEST(PortNotificationWindows, NativeEventsCarryTheMessage)
{
    MSG message{};
    message.message = devlink::kPortNotificationMessage;
    message.wParam = 7;
    message.lParam = LPARAM(0x7FFFFFA2);
    const auto found = devlink::portMessageFrom("windows_generic_MSG", &message);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->port, 7);
    EXPECT_EQ(found->code, 0x7FFFFFA2u);
    EXPECT_FALSE(devlink::portMessageFrom("xcb_generic_event_t", &message));
    message.message = WM_USER;
    EXPECT_FALSE(devlink::portMessageFrom("windows_generic_MSG", &message));
}

}  // namespace
