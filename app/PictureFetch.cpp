#include "PictureFetch.h"

#include "Image.h"

#include <QCoreApplication>
#include <exception>
#include <vector>

TPictureFetch::TPictureFetch(const QStringList &relativePaths, qreal ratio)
    : m_ratio(ratio)
{
    // The program's folder is found here first: Qt remembers it on the first
    // asking, and that must not happen on two threads at once.
    QCoreApplication::applicationDirPath();
    std::vector<std::promise<QImage>> promises(static_cast<size_t>(relativePaths.size()));
    for (qsizetype i = 0; i < relativePaths.size(); ++i)
        m_pending.emplace(relativePaths.at(i), promises.at(static_cast<size_t>(i)).get_future());
    m_worker = std::thread([relativePaths, ratio, promises = std::move(promises)]() mutable {
        for (qsizetype i = 0; i < relativePaths.size(); ++i) {
            std::promise<QImage> &promise = promises.at(static_cast<size_t>(i));
            try {
                promise.set_value(TImage::ScreenImage(relativePaths.at(i), ratio));
            } catch (...) {
                promise.set_exception(std::current_exception());
            }
        }
    });
}

TPictureFetch::~TPictureFetch()
{
    m_worker.join();
}

QImage TPictureFetch::Take(const QString &relativePath)
{
    const auto pending = m_pending.find(relativePath);
    if (pending == m_pending.end())
        return TImage::ScreenImage(relativePath, m_ratio);
    std::future<QImage> picture = std::move(pending->second);
    m_pending.erase(pending);
    return picture.get();
}
