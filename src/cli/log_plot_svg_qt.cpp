// The SVG plot through QSvgGenerator: the same painting as the PNG and PDF forms.

#include "cli/log_plot_svg.h"

#include <QPainter>
#include <QSvgGenerator>

#include "monitorplot/monitorplot.h"

namespace cli {

bool paintSvgPlot(QIODevice& into, const std::vector<monitorlog::MonitorSample>& samples, const QString& heading,
                  int width, int height, std::string&)
{
    const QRectF area(0, 0, width, height);
    QSvgGenerator svg;
    svg.setOutputDevice(&into);
    svg.setSize(QSize(width, height));
    svg.setViewBox(area);
    svg.setResolution(96);
    svg.setTitle(heading);
    QPainter painter(&svg);
    monitorplot::paintLogPlot(painter, area, samples, heading);
    return true;
}

}  // namespace cli
