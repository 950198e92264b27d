#pragma once
// The main window's ear for the port notification that another program sends as the
// window message 0x8309 (Windows). Elsewhere the notification arrives through the local
// socket and this filter never finds one.

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

namespace app {

class PortMessageFilter : public QAbstractNativeEventFilter {
public:
    explicit PortMessageFilter(std::function<void(int port, std::uint32_t code)> onMessage);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void(int, std::uint32_t)> onMessage_;
};

}  // namespace app
