#include "app/FocusTabBar.h"

#include <QPainter>

namespace orvane {

void FocusTabBar::paintEvent(QPaintEvent* event) {
    QTabBar::paintEvent(event);
    if (!hasFocus() || currentIndex() < 0) {
        return;
    }
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), kFocusFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const int inset = kFocusFrameWidth / 2 + 1;
    painter.drawRect(tabRect(currentIndex()).adjusted(inset, inset, -inset, -inset));
}

} // namespace orvane
