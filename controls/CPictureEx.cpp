#include "controls/CPictureEx.h"

#include <QPainter>

namespace orvane {

CPictureEx::CPictureEx(QWidget* parent) : QWidget(parent) {
    connect(&m_timer, &QTimer::timeout, this, &CPictureEx::OnFrameTimer);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

bool CPictureEx::Load(int resourceId) {
    const auto resource = FindPictureResource(resourceId);
    if (!resource || !m_renderer.load(QString::fromLatin1(resource->file))) {
        return false;
    }
    m_timer.stop();
    m_playing = false;
    m_resource = *resource;
    m_frame = 0;
    update();
    return true;
}

bool CPictureEx::Draw() {
    if (m_resource.id == 0) {
        return false;
    }
    // A still picture is drawn but does not count as playing: the logger tells
    // "logging" from "not logging" by whether the indicator plays.
    m_playing = m_resource.frames > 1;
    RunFrameTimer();
    update();
    return true;
}

void CPictureEx::Stop() {
    m_playing = false;
    m_timer.stop();
}

void CPictureEx::RunFrameTimer() {
    if (m_playing && isVisible()) {
        if (!m_timer.isActive()) {
            m_timer.start(m_resource.frameMs);
        }
    } else {
        m_timer.stop();
    }
}

void CPictureEx::showEvent(QShowEvent*) {
    RunFrameTimer();
}

void CPictureEx::hideEvent(QHideEvent*) {
    RunFrameTimer();
}

QSize CPictureEx::sizeHint() const {
    return {32, 32};
}

void CPictureEx::OnFrameTimer() {
    m_frame = (m_frame + 1) % m_resource.frames;
    if (m_resource.motion != PictureMotion::Still) {
        update();
    }
}

void CPictureEx::paintEvent(QPaintEvent*) {
    if (!m_renderer.isValid()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const QRectF square((width() - side) / 2, (height() - side) / 2, side, side);
    const QPointF centre = square.center();

    if (m_resource.motion == PictureMotion::Spin) {
        painter.translate(centre);
        painter.rotate(SpinAngle(m_frame, m_resource.frames));
        painter.translate(-centre);
    }
    m_renderer.render(&painter, square);
    if (m_resource.motion == PictureMotion::Pulse) {
        // A recording light in the corner of the picture.
        painter.resetTransform();
        painter.setOpacity(PulseOpacity(m_frame, m_resource.frames));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(220, 30, 30));
        const qreal radius = side * 0.14;
        painter.drawEllipse(QPointF(square.right() - radius * 1.1, square.bottom() - radius * 1.1),
                            radius, radius);
    }
}

} // namespace orvane
