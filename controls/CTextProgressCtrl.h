#pragma once

#include <cstdint>
#include <utility>

#include <QString>
#include <QWidget>

namespace orvane {

// A rectangle in pixels whose right and bottom edges lie just outside it, as the
// bar's drawing counts them.
struct BarRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct BarSplit {
    BarRect bar;  // filled up to the position
    BarRect rest; // the remainder
};

struct TextOrigin {
    int x = 0;
    int y = 0;
};

// Where the text starts along the bar.
enum class BarTextAlign { Start = 0, Centre = 1, End = 2 };

// The bar's geometry, apart from painting.
// Inside the flat sunken edge (two pixels) drawn round the control.
BarRect BarArea(BarRect client);
// (position - minimum) / (maximum - minimum).
double BarFraction(int position, int minimum, int maximum);
// Upright bars fill from the bottom up, lying ones from left to right; whole pixels.
BarSplit SplitBar(BarRect area, double fraction, bool upright);
// The text with, when asked for, the percentage reached ("%d%%", rounded).
QString BarText(const QString& text, bool showPercentage, double fraction);
// The text's reference point: its top left corner for a lying bar; for an upright
// one, whose text reads upwards, the point where the text begins (bottom left).
// length: the text's advance; height: its line height.
TextOrigin BarTextOrigin(BarRect area, int length, int height, int alignment, bool upright);
// The position after one step, wrapped round the range.
int SteppedPosition(int position, int step, int minimum, int maximum);

// A progress bar that draws itself and writes its window text over the bar, in one
// colour over the filled part and another over the rest, upright or lying.
class CTextProgressCtrl final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTextProgressCtrl)

public:
    explicit CTextProgressCtrl(bool upright = false, QWidget* parent = nullptr);

    // Each returns what it replaced.
    std::pair<std::int16_t, std::int16_t> SetRange(std::int16_t lower, std::int16_t upper);
    std::pair<int, int> SetRange32(int lower, int upper);
    std::pair<int, int> GetRange() const { return {m_minimum, m_maximum}; }
    // Clamped to the range; redraws.
    int SetPos(int position);
    int OffsetPos(int delta);
    int SetStep(int step);
    int StepIt();
    int GetPos() const { return m_position; }
    // Appends the percentage reached to the text (on at start).
    void SetShowText(bool show);
    void SetTextAlign(int alignment);
    void SetWindowText(const QString& text);
    QString GetWindowText() const { return m_text; }

    // The text drawn over the bar.
    QString ShownText() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Keeps the accessible description equal to the text drawn.
    void UpdateReading();
    // Redraws, with the reading.
    void Changed();

    bool m_showPercentage = true;
    int m_alignment = static_cast<int>(BarTextAlign::Centre);
    int m_position = 0;
    int m_step = 10;
    int m_minimum = 0;
    int m_maximum = 100;
    bool m_upright;
    QString m_text;
};

} // namespace orvane
