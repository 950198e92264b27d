#include "util/resourcebitmap.h"

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

// The resources live in this static library; registering them here keeps the linker
// from dropping them.
static void registerBitmapResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(bitmaps);
        return true;
    }();
    (void)registered;
}

namespace util {

void registerResources() { registerBitmapResources(); }

namespace {

struct CachedBitmap {
    std::string name;
    std::unique_ptr<QImage> image;  // stable address for the callers
};

constexpr std::size_t kCacheGrowth = 50;

std::vector<CachedBitmap>& cache()
{
    static std::vector<CachedBitmap> entries;
    return entries;
}

int g_loads = 0;

}  // namespace

const QImage* resourceBitmap(std::string_view name)
{
    registerBitmapResources();
    auto& entries = cache();
    for (const CachedBitmap& entry : entries)
        if (entry.name == name)
            return entry.image.get();

    auto image = std::make_unique<QImage>(QStringLiteral(":/bitmaps/%1.png").arg(QString::fromUtf8(name.data(), qsizetype(name.size()))));
    if (image->isNull())
        return nullptr;
    ++g_loads;
    if (entries.size() == entries.capacity()) {
        try {
            entries.reserve(entries.capacity() + kCacheGrowth);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    entries.push_back({std::string(name), std::move(image)});
    return entries.back().image.get();
}

int resourceBitmapLoads() { return g_loads; }

const char* className(const QObject* object)
{
    static std::string buffer;
    buffer = object ? object->metaObject()->className() : "";
    return buffer.c_str();
}

}  // namespace util
