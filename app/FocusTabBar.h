#pragma once

#include <QTabBar>

namespace orvane {

// A tab bar whose keyboard focus shows plainly: a frame in the palette's highlight around the
// current tab, which the desktop styles mark faintly or not at all.
class FocusTabBar final : public QTabBar {
    Q_OBJECT

public:
    using QTabBar::QTabBar;

    static constexpr int kFocusFrameWidth = 2;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvane
