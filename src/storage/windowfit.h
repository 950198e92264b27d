#pragma once
// Fitting a restored window onto the screens that exist now.

#include <span>

namespace storage {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Wide enough for any rectangle a settings file can hold.
    long long right() const { return static_cast<long long>(left) + width; }
    long long bottom() const { return static_cast<long long>(top) + height; }
    bool operator==(const ScreenRect&) const = default;
};

// How far `window` reaches beyond the screen's four edges, summed.
long long overflowBeyond(const ScreenRect& window, const ScreenRect& screen);

// The window unchanged when it lies wholly on a screen (or there are none); otherwise
// moved and cut to fit the screen it overflows least (the first of equals).
ScreenRect fitWindowOntoScreens(const ScreenRect& window, std::span<const ScreenRect> screens);

}  // namespace storage
