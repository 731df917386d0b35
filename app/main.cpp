#include <QStringList>

#include "app/CZephanApp.h"

int main(int argc, char** argv) {
    orvane::CZephanApp app(argc, argv);
    const QStringList arguments = app.arguments();
    // --screenshots DIR: render every tab for the documentation and exit.
    if (const auto at = arguments.indexOf("--screenshots"); at > 0 && at + 1 < arguments.size()) {
        return app.RenderScreenshots(arguments.at(at + 1));
    }
    return app.InitInstance();
}
