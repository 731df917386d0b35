// The yardstick for the GUI's start-up: a plain Qt window with ten empty tabs, at the
// main window's size, linked with nothing but Qt Widgets.
#include <QApplication>
#include <QTabWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTabWidget tabs;
    for (int i = 1; i <= 10; ++i) {
        tabs.addTab(new QWidget, QString("Tab %1").arg(i));
    }
    tabs.resize(1100, 720);
    tabs.show();
    return app.exec();
}
