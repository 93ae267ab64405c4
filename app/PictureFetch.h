#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <future>
#include <map>
#include <thread>

// Decodes the large pictures of the first screen on a thread of their own
// while the window is being built: on a machine with a second core the
// decoding costs the start no time.
class TPictureFetch {
public:
    // Starts decoding `relativePaths`, in that order, for a screen of pixel
    // ratio `ratio` (as TImage::ScreenImage would).
    TPictureFetch(const QStringList &relativePaths, qreal ratio);
    ~TPictureFetch();
    TPictureFetch(const TPictureFetch &) = delete;
    TPictureFetch &operator=(const TPictureFetch &) = delete;

    // The decoded picture once it is ready; throws TLoadError as decoding it
    // here would. A path not fetched, or already taken, is decoded here.
    QImage Take(const QString &relativePath);

private:
    qreal m_ratio;
    std::map<QString, std::future<QImage>> m_pending;
    std::thread m_worker;
};
