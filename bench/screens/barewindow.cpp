// bench_bare_window: the yardstick of bench_startup. A Qt Quick window of the terminal's
// size and kind (frameless, on a transparent background) with a plain white panel in it and
// nothing else: what any Qt Quick program pays to show its first picture.

#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQmlApplicationEngine engine;
    engine.loadData(R"(
import QtQuick 2.15
import QtQuick.Window 2.15
Window {
    visible: true
    width: 1300
    height: 900
    flags: Qt.Window | Qt.FramelessWindowHint
    color: "#00000000"
    Rectangle { anchors.fill: parent; anchors.margins: 10; color: "white" }
}
)");
    if (engine.rootObjects().isEmpty())
        return 1;
    return app.exec();
}
