#pragma once

#include <QPixmap>
#include <QWidget>

#include "controls/PictureResources.h"

namespace orvane {

// An animated picture: one image of the fixed set, played on the UI thread, stopped
// with the current frame kept. Each frame is drawn from its artwork once per size
// and then blitted, and all pictures playing at the same pace share one frame
// clock, so they are repainted together: one small paint per frame for all of them.
// While the picture is hidden it leaves its clock; it still counts as playing and
// moves on when shown again.
class CPictureEx final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPictureEx)

public:
    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // Replaces the image and stops it at its first frame; false for an unknown id.
    bool Load(int resourceId);
    // Plays the loaded image (a still one is only drawn); false when none is loaded.
    bool Draw();
    void Stop();
    bool IsPlaying() const { return m_playing; }
    // Whether frames are being drawn now: only while playing and shown.
    bool IsAnimating() const { return m_animating; }

    // What the picture means in words, for assistive technology.
    void SetReading(const QString& reading);

    int ResourceId() const { return m_resource.id; }
    int Frame() const { return m_frame; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend class FrameClock;
    void OnFrameTimer();
    void RunFrameTimer();
    // Frame n at the widget's size, from the shared cache or drawn now.
    QPixmap FramePixmap(int frame) const;

    PictureResource m_resource;
    bool m_animating = false; // on its frame clock
    int m_frame = 0;
    bool m_playing = false;
};

} // namespace orvane
