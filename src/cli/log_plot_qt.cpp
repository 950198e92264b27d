// The plot file, painted with QPainter on the offscreen platform: PNG through QImage,
// PDF through QPdfWriter, SVG through log_plot_svg, each into memory and then written in
// one piece.

#include "cli/log_plot.h"
#include "cli/log_plot_svg.h"

#include <cstdlib>
#include <memory>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "monitorplot/monitorplot.h"
#include "storage/atomicfile.h"

namespace cli {
namespace {

std::string lowerExtension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Fonts and painting need a GUI application; the offscreen platform needs no display.
std::unique_ptr<QGuiApplication> guiApplication()
{
    if (QGuiApplication::instance())
        return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tavrin";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

bool writeLogPlot(const std::vector<monitorlog::MonitorSample>& samples, const std::string& title,
                  const std::string& output, int width, int height, std::string& error)
{
    const std::string ext = lowerExtension(output);
    if (ext != "png" && ext != "svg" && ext != "pdf") {
        error = output + ": the plot is written as .png, .svg or .pdf";
        return false;
    }
    const auto app = guiApplication();
    const QString heading = QString::fromStdString(title);
    const QRectF area(0, 0, width, height);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (ext == "png") {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            monitorplot::paintLogPlot(painter, area, samples, heading);
        }
        image.save(&buffer, "PNG");
    } else if (ext == "pdf") {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(heading);
        QPainter painter(&pdf);
        monitorplot::paintLogPlot(painter, QRectF(0, 0, pdf.width(), pdf.height()), samples, heading);
    } else if (!paintSvgPlot(buffer, samples, heading, width, height, error)) {
        error = output + ": " + error;
        return false;
    }
    buffer.close();
    if (bytes.isEmpty()) {
        error = output + ": the plot could not be painted";
        return false;
    }
    if (!storage::writeFileAtomically(output, std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
        error = output + ": cannot be written; nothing was changed";
        return false;
    }
    return true;
}

}  // namespace cli
