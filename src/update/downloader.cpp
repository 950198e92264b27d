#include "update/downloader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslSocket>
#include <QTimer>

#include "update/patchdescription.h"

namespace update {

QUrl descriptionUrl(const QString& base)
{
    QString trimmed = base.trimmed();
    while (trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    QUrl url(trimmed + QStringLiteral("/old/patch.xml"));
    // Only web addresses are fetched.
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return {};
    return url;
}

void loadTlsBackend()
{
    // The first question about TLS support loads the backend plugin and its libraries.
    (void)QSslSocket::supportsSsl();
}

void UpdateDownloader::start(QUrl url)
{
    stop();
    url_ = std::move(url);
    hasData_ = false;
    data_.clear();
    stop_.store(false);
    state.store(Idle, std::memory_order_release);
    thread_ = std::thread([this] { run(); });
}

void UpdateDownloader::stop()
{
    {
        const std::lock_guard lock(wakeMutex_);
        stop_.store(true);
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void UpdateDownloader::request()
{
    {
        const std::lock_guard lock(wakeMutex_);
        state.store(Requested, std::memory_order_release);
    }
    wake_.notify_all();
}

void UpdateDownloader::run()
{
    std::unique_lock lock(wakeMutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_.load() || state.load(std::memory_order_acquire) == Requested; });
        if (stop_.load())
            return;
        lock.unlock();
        download();
        state.store(Finished, std::memory_order_release);
        lock.lock();
    }
}

void UpdateDownloader::download()
{
    hasData_ = false;
    data_.clear();
    if (!url_.isValid())
        return;
    // The client exists for this one download only and lives on this thread.
    QNetworkAccessManager client;
    QNetworkRequest request(url_);
    request.setTransferTimeout(kConnectTimeoutMs);
    QNetworkReply* reply = client.get(request);
    QEventLoop loop;
    bool tooLarge = false;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64) {
        if (received > qint64(kMaxDescriptionBytes)) {
            tooLarge = true;
            reply->abort();
        }
    });
    QTimer stopWatch;  // the program's end interrupts the download
    QObject::connect(&stopWatch, &QTimer::timeout, &loop, [&] {
        if (stop_.load())
            reply->abort();
    });
    stopWatch.start(50);
    if (!reply->isFinished())
        loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() == QNetworkReply::NoError && !tooLarge && status == 200) {
        const QByteArray body = reply->readAll();
        if (body.size() <= qsizetype(kMaxDescriptionBytes)) {
            data_.assign(body.constData(), std::size_t(body.size()));
            hasData_ = true;
        }
    }
    delete reply;
}

}  // namespace update
