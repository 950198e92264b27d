#include "curveeditor/views/imagediff.h"

#include <algorithm>
#include <cstring>

namespace curveeditor::views {

namespace {

// Each step (h ^ word) * odd constant is one-to-one in h, so a run that differs in a single
// word of two pixels always gets another hash; more changes collide only by chance (2^-64).
constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kSeed = 0xCBF29CE484222325ull;

std::uint64_t HashRun(const quint32* pixel, int count)
{
    std::uint64_t h = kSeed;
    int x = 0;
    for (; x + 1 < count; x += 2) {
        std::uint64_t word;
        std::memcpy(&word, pixel + x, sizeof word);
        h = (h ^ word) * kMix;
    }
    if (x < count)
        h = (h ^ pixel[x]) * kMix;
    return h;
}

}  // namespace

QRect PictureSignature::Update(const QImage& picture)
{
    if (picture.depth() != 32) {
        format_ = QImage::Format_Invalid;  // nothing signed: the next picture is all new too
        return picture.rect();
    }
    const int width = picture.width(), height = picture.height();
    const int runs = (width + kRun - 1) / kRun;
    next_.resize(std::size_t(runs) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const quint32*>(picture.constScanLine(y));
        for (int r = 0; r < runs; ++r)
            next_[std::size_t(y) * std::size_t(runs) + std::size_t(r)] =
                HashRun(row + r * kRun, std::min(kRun, width - r * kRun));
    }
    QRect changed = picture.rect();
    if (size_ == picture.size() && format_ == picture.format()) {
        int top = height, bottom = -1, left = runs, right = -1;
        for (int y = 0; y < height; ++y) {
            const std::uint64_t* before = runs_.data() + std::size_t(y) * std::size_t(runs);
            const std::uint64_t* after = next_.data() + std::size_t(y) * std::size_t(runs);
            if (std::memcmp(before, after, std::size_t(runs) * sizeof *after) == 0)
                continue;
            top = std::min(top, y);
            bottom = y;
            for (int r = 0; r < runs; ++r)
                if (before[r] != after[r]) {
                    left = std::min(left, r);
                    right = std::max(right, r);
                }
        }
        changed = bottom < 0 ? QRect()
                             : QRect(QPoint(left * kRun, top), QPoint(std::min(width, (right + 1) * kRun) - 1, bottom));
    }
    size_ = picture.size();
    format_ = picture.format();
    std::swap(runs_, next_);
    return changed;
}

}  // namespace curveeditor::views
