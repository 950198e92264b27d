// tavrin-idle-floor: the least a window with a 55 ms timer costs on this machine. It shows
// one empty window and runs a timer that does nothing, so scripts/measure-link can print
// its CPU and wake-ups beside the program's own as the floor of the idle figures.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1109, 760);
    window.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(55);
    return app.exec();
}
