#include "storage/windowfit.h"

#include <algorithm>
#include <climits>

namespace storage {

long long overflowBeyond(const ScreenRect& window, const ScreenRect& screen)
{
    return std::max(0LL, static_cast<long long>(screen.left) - window.left) +
           std::max(0LL, window.right() - screen.right()) +
           std::max(0LL, static_cast<long long>(screen.top) - window.top) +
           std::max(0LL, window.bottom() - screen.bottom());
}

ScreenRect fitWindowOntoScreens(const ScreenRect& window, std::span<const ScreenRect> screens)
{
    const ScreenRect* best = nullptr;
    long long bestOverflow = LLONG_MAX;
    for (const ScreenRect& screen : screens) {
        const long long overflow = overflowBeyond(window, screen);
        if (overflow < bestOverflow) {
            best = &screen;
            bestOverflow = overflow;
        }
    }
    if (!best || bestOverflow == 0)
        return window;

    const ScreenRect& screen = *best;
    long long left = window.left, top = window.top, right = window.right(), bottom = window.bottom();
    if (window.width > screen.width)
        left = screen.left, right = screen.right();
    if (window.height > screen.height)
        top = screen.top, bottom = screen.bottom();
    if (right > screen.right())
        left -= right - screen.right(), right = screen.right();
    if (bottom > screen.bottom())
        top -= bottom - screen.bottom(), bottom = screen.bottom();
    if (left < screen.left)
        right += screen.left - left, left = screen.left;
    if (top < screen.top)
        bottom += screen.top - top, top = screen.top;
    right = std::min(right, screen.right());
    bottom = std::min(bottom, screen.bottom());
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

}  // namespace storage
