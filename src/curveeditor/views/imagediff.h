#pragma once
// Where a picture differs from the one before it, so that only that part goes to the screen.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

namespace curveeditor::views {

// What the last picture looked like, kept small: a hash of each run of 32 pixels of each
// row, a sixteenth of the memory a copy of the picture would take.
class PictureSignature {
public:
    // A rectangle holding every pixel in which `picture` differs from the picture signed
    // before: its changed rows, and its columns widened to whole runs. All of it after a
    // change of size or format, an empty one when the two are equal. Then `picture` is
    // the one signed.
    QRect Update(const QImage& picture);

private:
    static constexpr int kRun = 32;  // pixels

    QSize size_;
    QImage::Format format_ = QImage::Format_Invalid;
    std::vector<std::uint64_t> runs_, next_;
};

}  // namespace curveeditor::views
