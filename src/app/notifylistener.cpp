#include "app/notifylistener.h"

#include <QLocalSocket>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace app {
namespace {

constexpr int kRetryMs = 200;
constexpr int kBacklog = 32;

bool addressOf(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether a program answers on the socket at `path`.
bool socketAnswers(const sockaddr_un& address)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    // A listener whose queue is full still answers: it is there.
    const bool answers = result == 0 || errno == EAGAIN || errno == EINPROGRESS;
    ::close(fd);
    return answers;
}

}  // namespace

NotifyListener::NotifyListener(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler))
{
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] {
        notifier_->setEnabled(true);
        acceptPending();
    });
}

NotifyListener::~NotifyListener()
{
    for (auto& client : clients_)
        delete client->socket;
    clients_.clear();
    if (fd_ < 0)
        return;
    delete notifier_;
    ::close(fd_);
    // Only our own socket file goes: another window may have made one there since.
    struct stat info {};
    if (::lstat(path_.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_ino == inode_)
        ::unlink(path_.c_str());
}

bool NotifyListener::listen(const std::string& path, std::string& error)
{
    sockaddr_un address{};
    if (!addressOf(path, address)) {
        error = "the socket path is too long: " + path;
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            error = path + " exists and is not a socket";
            return false;
        }
        if (socketAnswers(address)) {
            error = "another window already listens on " + path;
            return false;
        }
        ::unlink(path.c_str());  // left over from a window that ended without removing it
    }
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd_, kBacklog) != 0 || ::lstat(path.c_str(), &info) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        return false;
    }
    path_ = path;
    inode_ = info.st_ino;
    notifier_ = new QSocketNotifier(qintptr(fd_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { acceptPending(); });
    return true;
}

void NotifyListener::acceptPending()
{
    for (;;) {
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // Out of descriptors or memory: the connection waits in the queue; try
                // again shortly instead of spinning on it or closing the socket.
                notifier_->setEnabled(false);
                retry_.start();
            }
            return;
        }
        if (int(clients_.size()) >= kMaxClients)
            dropClient(clients_.front().get());  // the oldest makes room
        auto* socket = new QLocalSocket(this);
        if (!socket->setSocketDescriptor(qintptr(fd), QLocalSocket::ConnectedState, QIODevice::ReadOnly)) {
            delete socket;
            ::close(fd);
            continue;
        }
        socket->setReadBufferSize(kLongestLine * 4);
        clients_.push_back(std::make_unique<Client>());
        Client* client = clients_.back().get();
        client->socket = socket;
        connect(socket, &QLocalSocket::readyRead, this, [this, client] { readClient(client); });
        connect(socket, &QLocalSocket::disconnected, this, [this, client] { dropClient(client); });
    }
}

void NotifyListener::readClient(Client* client)
{
    char piece[256];
    while (client->socket->bytesAvailable() > 0) {
        const qint64 got = client->socket->read(piece, sizeof piece);
        if (got <= 0)
            return;
        client->received += got;
        for (qint64 i = 0; i < got; ++i) {
            const char c = piece[i];
            if (c == '\n') {
                if (!client->discarding)
                    handleLine(client->line);
                client->line.clear();
                client->discarding = false;
            } else if (client->discarding) {
                continue;
            } else if (client->line.size() >= kLongestLine) {
                client->line.clear();  // no notification is this long: the line goes whole
                client->discarding = true;
            } else {
                client->line.append(c);
            }
        }
        if (client->received > kMaxBytesPerClient) {
            dropClient(client);  // a notifier sends a line or two, not a stream
            return;
        }
    }
}

void NotifyListener::dropClient(Client* client)
{
    for (auto it = clients_.begin(); it != clients_.end(); ++it)
        if (it->get() == client) {
            QLocalSocket* socket = client->socket;
            socket->disconnect(this);
            socket->abort();
            socket->deleteLater();
            clients_.erase(it);
            return;
        }
}

void NotifyListener::handleLine(const QByteArray& line)
{
    const QList<QByteArray> words = line.simplified().split(' ');
    bool portOk = false, codeOk = false;
    const int port = words.value(0).toInt(&portOk);
    const uint code = words.value(1).toUInt(&codeOk, 0);
    if (words.size() == 2 && portOk && codeOk)
        handler_(port, code);
}

}  // namespace app
