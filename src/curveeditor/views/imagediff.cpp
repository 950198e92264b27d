#include "curveeditor/views/imagediff.h"

#include <algorithm>
#include <cstring>

namespace curveeditor::views {

QRect ChangedRect(const QImage& before, const QImage& after)
{
    if (before.size() != after.size() || before.format() != after.format() || before.depth() != 32)
        return after.rect();
    const int width = after.width(), height = after.height();
    const auto row = [](const QImage& image, int y) { return reinterpret_cast<const quint32*>(image.constScanLine(y)); };
    const std::size_t rowBytes = std::size_t(width) * sizeof(quint32);
    int top = 0;
    while (top < height && std::memcmp(row(before, top), row(after, top), rowBytes) == 0)
        ++top;
    if (top == height)
        return {};
    int bottom = height - 1;
    while (bottom > top && std::memcmp(row(before, bottom), row(after, bottom), rowBytes) == 0)
        --bottom;
    // Most rows of the band differ nowhere outside the columns found so far: a block
    // comparison of the two margins settles them; only the others are walked.
    int left = width, right = -1;
    for (int y = top; y <= bottom; ++y) {
        const quint32* a = row(before, y);
        const quint32* b = row(after, y);
        if (left > 0 && std::memcmp(a, b, std::size_t(left) * sizeof(quint32)) != 0)
            for (int x = 0; x < left; ++x)
                if (a[x] != b[x]) {
                    left = x;
                    break;
                }
        const int from = std::max(right + 1, left);
        if (from < width && std::memcmp(a + from, b + from, std::size_t(width - from) * sizeof(quint32)) != 0)
            for (int x = width - 1; x >= from; --x)
                if (a[x] != b[x]) {
                    right = x;
                    break;
                }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace curveeditor::views
