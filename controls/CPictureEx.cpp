#include "controls/CPictureEx.h"

#include <map>
#include <vector>

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QSvgRenderer>
#include <QTimer>

namespace orvane {

// One timer per frame period, shared by every picture playing at that pace: their
// frames move on in the same pass of the event loop, so the window paints and
// flushes them once rather than once each.
class FrameClock final : public QObject {
public:
    static FrameClock& For(int periodMs) {
        static std::map<int, QPointer<FrameClock>> clocks;
        QPointer<FrameClock>& clock = clocks[periodMs];
        if (clock.isNull()) {
            // Owned by the application, so it goes before the event loop does.
            clock = new FrameClock(periodMs, QCoreApplication::instance());
        }
        return *clock;
    }

    void Join(CPictureEx* picture) {
        m_members.push_back(picture);
        if (!m_timer.isActive()) {
            m_timer.start(m_periodMs);
        }
    }
    void Leave(CPictureEx* picture) {
        std::erase(m_members, picture);
        if (m_members.empty()) {
            m_timer.stop();
        }
    }

private:
    FrameClock(int periodMs, QObject* parent) : QObject(parent), m_periodMs(periodMs) {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const std::vector<CPictureEx*> members = m_members; // a frame may stop one
            for (CPictureEx* picture : members) {
                picture->OnFrameTimer();
            }
        });
    }

    int m_periodMs;
    QTimer m_timer;
    std::vector<CPictureEx*> m_members;
};

namespace {

bool ArtworkExists(const PictureResource& resource) {
    const int files = resource.motion == PictureMotion::Frames ? resource.frames : 1;
    if (files < 1 || files > kMaxFrameFiles) {
        return false;
    }
    for (int frame = 0; frame < files; ++frame) {
        const char* file = resource.FileOf(frame);
        if (file == nullptr || !QFile::exists(QString::fromLatin1(file))) {
            return false;
        }
    }
    return true;
}

// Frame n of the artwork, centred in the given size with its proportions kept.
void PaintFrame(QPainter& painter, const PictureResource& resource, int frame, QSizeF size) {
    QSvgRenderer renderer(QString::fromLatin1(resource.FileOf(frame)));
    if (!renderer.isValid()) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(size.width(), size.height());
    const QRectF square((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    const QPointF centre = square.center();
    if (resource.motion == PictureMotion::Spin) {
        painter.translate(centre);
        painter.rotate(SpinAngle(frame, resource.frames));
        painter.translate(-centre);
    }
    // Tall or wide artwork keeps its proportions.
    const QSizeF art = renderer.viewBoxF().size().scaled(size, Qt::KeepAspectRatio);
    const QRectF target(
        QPointF((size.width() - art.width()) / 2, (size.height() - art.height()) / 2), art);
    renderer.render(&painter, resource.motion == PictureMotion::Spin ? square : target);
    if (resource.motion == PictureMotion::Pulse) {
        painter.resetTransform();
        painter.setOpacity(PulseOpacity(frame, resource.frames));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(220, 30, 30));
        const qreal radius = side * 0.14;
        painter.drawEllipse(QPointF(square.right() - radius * 1.1, square.bottom() - radius * 1.1),
                            radius, radius);
    }
}

} // namespace

CPictureEx::CPictureEx(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Paints its own background, so a new frame repaints the picture and nothing under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CPictureEx::~CPictureEx() {
    m_playing = false;
    RunFrameTimer();
}

bool CPictureEx::Load(int resourceId) {
    const auto resource = FindPictureResource(resourceId);
    if (!resource || !ArtworkExists(*resource)) {
        return false;
    }
    m_playing = false;
    RunFrameTimer();
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
    RunFrameTimer();
}

void CPictureEx::SetReading(const QString& reading) {
    if (accessibleDescription() != reading) {
        setAccessibleDescription(reading);
    }
}

void CPictureEx::RunFrameTimer() {
    const bool animate = m_playing && isVisible();
    if (animate != m_animating) {
        m_animating = animate;
        FrameClock& clock = FrameClock::For(m_resource.frameMs);
        if (animate) {
            clock.Join(this);
        } else {
            clock.Leave(this);
        }
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
    update();
}

QPixmap CPictureEx::FramePixmap(int frame) const {
    const qreal ratio = devicePixelRatioF();
    const QString key = QStringLiteral("orvane-picture/%1/%2/%3x%4@%5")
                            .arg(m_resource.id)
                            .arg(frame)
                            .arg(width())
                            .arg(height())
                            .arg(ratio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) {
        return pixmap;
    }
    pixmap = QPixmap(size() * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        PaintFrame(painter, m_resource, frame, QSizeF(size()));
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void CPictureEx::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (m_resource.id != 0 && width() > 0 && height() > 0) {
        painter.drawPixmap(0, 0, FramePixmap(m_frame));
    }
}

} // namespace orvane
