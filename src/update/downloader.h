#pragma once
// The background download of the update description. One thread sleeps until it is
// asked (request(): state 1) or stopped; it then GETs the description into memory and
// sets state 2. The data are published before the state, so the window reads them once
// it sees state 2.

#include <QUrl>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace update {

enum UpdateState : int { Idle = 0, Requested = 1, Finished = 2, Processed = 3 };

constexpr int kConnectTimeoutMs = 2000;

// The description's address on the server at `base` (scheme and host, no path).
QUrl descriptionUrl(const QString& base);

// Loads the TLS plugin on the calling thread. Call it before the serial ports open: under
// wine each pending WaitCommEvent runs on a thread of its own, and wine's loader crashes
// when a library with thread-local data (the TLS plugin is one) loads while such a thread
// starts or ends. Loaded at start, the download thread finds it in place.
void loadTlsBackend();

class UpdateDownloader {
public:
    UpdateDownloader() = default;
    ~UpdateDownloader() { stop(); }
    UpdateDownloader(const UpdateDownloader&) = delete;
    UpdateDownloader& operator=(const UpdateDownloader&) = delete;

    // state := Idle, no data, and the thread runs.
    void start(QUrl url);
    // Ends a running download and the thread.
    void stop();
    // state := Requested, and the thread wakes to fetch the description.
    void request();

    std::atomic<int> state{Idle};
    // Valid once `state` is Finished: whether the answer arrived, and the answer.
    bool hasData() const { return hasData_; }
    const std::string& data() const { return data_; }

private:
    void run();
    void download();

    QUrl url_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex wakeMutex_;
    std::condition_variable wake_;  // a request or the stop; no polling while idle
    bool hasData_ = false;
    std::string data_;
};

}  // namespace update
