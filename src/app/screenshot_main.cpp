// tavrin-screenshot FILE.png [--lang 0|1|2] [--about]: renders the main window as it opens
// (or its About window) to a PNG.

#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <cstdio>

#include "app/about.h"
#include "app/mainform.h"
#include "app/runwindow.h"
#include "lang/langtext.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty() || args.front().startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: tavrin-screenshot FILE.png [--lang 0|1|2] [--about]\n");
        return 2;
    }
    app::StartOptions options;
    options.startTimer = false;
    const int langAt = int(args.indexOf(QStringLiteral("--lang")));
    app::TMainForm window(options);
    window.FormCreate();
    if (langAt >= 0 && langAt + 1 < args.size())
        window.setLanguage(args[langAt + 1].toInt());
    window.show();
    QApplication::processEvents();
    app::TFormAbout about(&window);
    about.FormCreate();
    const bool showAbout = args.contains(QStringLiteral("--about"));
    if (showAbout) {
        about.show();
        QApplication::processEvents();
    }
    const QPixmap image = showAbout ? about.grab() : window.grab();
    if (!image.save(args.front())) {
        std::fprintf(stderr, "tavrin-screenshot: cannot write %s\n", qPrintable(args.front()));
        return 1;
    }
    return 0;
}
