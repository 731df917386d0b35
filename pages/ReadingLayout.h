#pragma once

#include <array>

#include <QLayout>
#include <QRect>

namespace orvane {

inline constexpr int kReadingGap = 6;

struct ReadingRects {
    QRect value;
    QRect unit;
};

// Where a reading's value and its unit go in `area`: the unit at the right end, the value
// in the rest, `gap` apart. The two never overlap and never leave the area: squeezed
// below their widths, the value gives way first, then the unit.
ReadingRects SplitReading(const QRect& area, int unitWidth, int gap);

// A value and its unit side by side, laid out by SplitReading. It asks for room for the
// widest value, so the row keeps its place whatever the value shows.
class ReadingLayout final : public QLayout {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ReadingLayout)

public:
    ReadingLayout(QWidget* value, QWidget* unit, int valueWidth, int unitWidth);
    ~ReadingLayout() override;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    std::array<QLayoutItem*, 2> m_items{}; // the value, then the unit
    int m_valueWidth;
    int m_unitWidth;
};

} // namespace orvane
