#pragma once
// The window's zoom: the whole design scaled, not reflowed. Every placed control keeps
// its design rectangle and every explicit font its design pixel height; a zoom puts them
// at factor times both, so the painting stays sharp (fonts and vector painting at the
// new size) and the controls keep their relative layout.

#include <QPointer>
#include <QRect>
#include <QSize>
#include <vector>

class QStatusBar;
class QWidget;

namespace curveeditor {
class TTab;
}

namespace app {

// The design's outer size (window frame included) at 100 %.
inline constexpr QSize kDesignOuterSize{1127, 1020};
inline constexpr int kZoomChoices[] = {75, 100, 125, 150};

// The zoom at which the design's outer size fits `available`: 1 when it fits, else the
// largest smaller one (in whole percent, at least 50 %).
double fittingZoom(QSize available);

class ZoomController {
public:
    // Records the design of `client`'s controls (at zoom 1), the status bar's panels and
    // the curve editor, which zooms itself.
    ZoomController(QWidget* client, QStatusBar* statusBar, curveeditor::TTab* editor);
    void apply(double factor);
    double factor() const { return factor_; }

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect rect;
    };
    struct Font {
        QPointer<QWidget> widget;
        int pixels;
    };
    QWidget* client_;
    QSize clientSize_;
    QStatusBar* statusBar_;
    int statusHeight_ = 0;
    curveeditor::TTab* editor_;
    std::vector<Placed> placed_;
    std::vector<Font> fonts_;
    std::vector<Placed> panels_;
    std::vector<Placed> icons_;  // tool buttons: the design icon size in the rectangle's size
    double factor_ = 1.0;
};

}  // namespace app
