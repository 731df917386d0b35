#pragma once

#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>

#include "controls/PictureResources.h"

namespace orvane {

// An animated picture: one image of the fixed set, played by a timer on the UI
// thread (each frame is a cheap repaint), stopped with the current frame kept.
// While the picture is hidden its timer rests; it still counts as playing and
// moves on when shown again.
class CPictureEx final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPictureEx)

public:
    explicit CPictureEx(QWidget* parent = nullptr);

    // Replaces the image and stops it at its first frame; false for an unknown id.
    bool Load(int resourceId);
    // Plays the loaded image (a still one is only drawn); false when none is loaded.
    bool Draw();
    void Stop();
    bool IsPlaying() const { return m_playing; }
    // Whether frames are being drawn now: only while playing and shown.
    bool IsAnimating() const { return m_timer.isActive(); }

    int ResourceId() const { return m_resource.id; }
    int Frame() const { return m_frame; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnFrameTimer();
    void RunFrameTimer();

    PictureResource m_resource;
    QSvgRenderer m_renderer;
    QTimer m_timer;
    int m_frame = 0;
    bool m_playing = false;
};

} // namespace orvane
