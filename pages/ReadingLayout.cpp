#include "pages/ReadingLayout.h"

#include <algorithm>

#include <QWidget>

namespace orvane {

ReadingRects SplitReading(const QRect& area, int unitWidth, int gap) {
    const int unit = std::clamp(unitWidth, 0, std::max(area.width(), 0));
    const int value = std::max(area.width() - unit - gap, 0);
    return {QRect(area.left(), area.top(), value, area.height()),
            QRect(area.left() + area.width() - unit, area.top(), unit, area.height())};
}

ReadingLayout::ReadingLayout(QWidget* value, QWidget* unit, int valueWidth, int unitWidth)
    : m_items{new QWidgetItem(value), new QWidgetItem(unit)}, m_valueWidth(valueWidth),
      m_unitWidth(unitWidth) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(kReadingGap);
    addChildWidget(value);
    addChildWidget(unit);
}

ReadingLayout::~ReadingLayout() {
    for (QLayoutItem* item : m_items) {
        delete item;
    }
}

void ReadingLayout::addItem(QLayoutItem* item) {
    // Both places are taken by the constructor.
    delete item;
}

QLayoutItem* ReadingLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? m_items[static_cast<std::size_t>(index)] : nullptr;
}

QLayoutItem* ReadingLayout::takeAt(int index) {
    QLayoutItem* item = itemAt(index);
    if (item != nullptr) {
        m_items[static_cast<std::size_t>(index)] = nullptr;
        std::stable_partition(m_items.begin(), m_items.end(),
                              [](const QLayoutItem* kept) { return kept != nullptr; });
    }
    return item;
}

int ReadingLayout::count() const {
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [](const QLayoutItem* item) { return item != nullptr; }));
}

QSize ReadingLayout::sizeHint() const {
    int height = 0;
    for (int i = 0; i < count(); ++i) {
        height = std::max(height, itemAt(i)->sizeHint().height());
    }
    return {m_valueWidth + spacing() + m_unitWidth, height};
}

QSize ReadingLayout::minimumSize() const {
    return sizeHint();
}

void ReadingLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    if (count() != 2) {
        return;
    }
    const ReadingRects split = SplitReading(rect, m_unitWidth, spacing());
    m_items[0]->setGeometry(split.value);
    m_items[1]->setGeometry(split.unit);
}

} // namespace orvane
