// The Contact page's link keeps its fixed blue readable whatever the desktop's palette.
#include <QApplication>

#include "PageTestSupport.h"
#include "PaletteTestSupport.h"
#include "pages/mD10.h"

namespace orvane::test {
namespace {

TEST(ContactPalette, LinkStaysReadableUnderALightAndADarkPalette) {
    const QPalette light = QApplication::palette();
    for (const auto& [name, palette] :
         {std::pair{"light", light}, {"dark", DarkDesktopPalette()}}) {
        QApplication::setPalette(palette);
        FakePageHost host{kTabContact};
        mD10 page{host};
        page.resize(page.sizeHint());
        page.show();
        QCoreApplication::processEvents();
        const QImage image = page.grab().toImage();
        const QLabel* link = page.LinkField();
        const QRect area(link->mapTo(&page, QPoint(0, 0)), link->size());
        EXPECT_GE(InkContrast(image, area, area.topLeft()), 4.5) << name;
    }
    QApplication::setPalette(light);
}

} // namespace
} // namespace orvane::test
