#pragma once
// The window's port-notification socket: other programs of the user connect and send
// lines "<port> <code>". Bounded against a local client that misbehaves: a limited
// number of clients (the oldest goes when more come), a limited number of bytes from
// each, a line longer than the longest notification dropped whole, and a failing accept
// (too many open files) retried later instead of giving the socket up. A socket that
// another window answers on is never taken over.

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>

class QLocalSocket;
class QSocketNotifier;

namespace app {

class NotifyListener : public QObject {
public:
    static constexpr int kMaxClients = 16;
    // "255 0xFFFFFFFF" or "255 4294967295", with room for spaces and a carriage return.
    static constexpr int kLongestLine = 40;
    static constexpr qint64 kMaxBytesPerClient = 4096;

    using Handler = std::function<void(int port, std::uint32_t code)>;
    NotifyListener(Handler handler, QObject* parent = nullptr);
    ~NotifyListener() override;

    // Listens on `path` (user-only access); false, with the reason in `error`, when
    // another window answers there, the path is something else, or the socket cannot be
    // made.
    bool listen(const std::string& path, std::string& error);
    int clientCount() const { return int(clients_.size()); }

private:
    struct Client {
        QLocalSocket* socket = nullptr;
        QByteArray line;
        bool discarding = false;  // inside a line that is too long
        qint64 received = 0;
    };
    void acceptPending();
    void readClient(Client* client);
    void dropClient(Client* client);
    void handleLine(const QByteArray& line);

    Handler handler_;
    std::string path_;
    int fd_ = -1;
    unsigned long long inode_ = 0;  // of our socket file, so that only it is removed
    QSocketNotifier* notifier_ = nullptr;
    QTimer retry_;
    std::list<std::unique_ptr<Client>> clients_;
};

}  // namespace app
