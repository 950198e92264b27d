// The port notification on Windows arrives as the window message 0x8309, which the
// main window's PortMessageFilter takes; there is no socket to listen on. Listening
// succeeds without one, so the window starts the same way on every system.

#include "app/notifylistener.h"

#include <QLocalSocket>

namespace app {

NotifyListener::NotifyListener(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

NotifyListener::~NotifyListener() = default;

bool NotifyListener::listen(const std::string& path, std::string&)
{
    path_ = path;
    return true;
}

}  // namespace app
