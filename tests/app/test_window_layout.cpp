// At the window's minimum size no page's input controls overlap, and none is cut by its parent
// or squeezed below the size its text needs.
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QScrollArea>
#include <gmock/gmock.h>

#include "AppTestSupport.h"
#include "pages/PageHost.h"
#include "tests/pages/PageTestSupport.h"

namespace orvane::test {
namespace {

bool IsInputControl(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(widget) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(widget) != nullptr;
}

// Parts of another control (a box's own line edit, a list's scroll bars) are not neighbours.
bool InsideControl(const QWidget* widget, const QWidget* page) {
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != page;
         up = up->parentWidget()) {
        if (IsInputControl(up)) {
            return true;
        }
    }
    return false;
}

// A scrolled page may be larger than what shows it.
bool Scrolled(const QWidget* widget) {
    const QWidget* parent = widget->parentWidget();
    return parent != nullptr && qobject_cast<const QScrollArea*>(parent->parentWidget()) != nullptr;
}

QRect OnPage(const QWidget* widget, const QWidget* page) {
    return {widget->mapTo(page, QPoint(0, 0)), widget->size()};
}

QString Describe(const QWidget* widget) {
    const QString name = widget->accessibleName();
    return QString("%1 \"%2\"")
        .arg(widget->metaObject()->className(), name.isEmpty() ? widget->objectName() : name);
}

// What is wrong with the page as laid out now; empty when nothing is.
std::vector<std::string> LayoutFaults(QWidget* page) {
    std::vector<std::string> faults;
    std::vector<QWidget*> controls;
    const auto widgets = page->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(page) || widget->isWindow()) {
            continue;
        }
        const QString at = Describe(widget);
        if (!Scrolled(widget) &&
            !widget->parentWidget()->rect().contains(widget->geometry(), false)) {
            faults.push_back((at + " leaves its parent").toStdString());
        }
        auto* label = qobject_cast<QLabel*>(widget);
        const bool labelCut = label != nullptr && !label->wordWrap() && !label->text().isEmpty() &&
                              label->width() < label->minimumSizeHint().width();
        if (labelCut) {
            faults.push_back((at + " is cut").toStdString());
        }
        if (IsInputControl(widget) && !InsideControl(widget, page)) {
            controls.push_back(widget);
        }
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (OnPage(controls[i], page).intersects(OnPage(controls[j], page))) {
                faults.push_back(
                    (Describe(controls[i]) + " overlaps " + Describe(controls[j])).toStdString());
            }
        }
    }
    return faults;
}

class WindowLayout : public WindowTest {
protected:
    // Every page built, as the window has them once each tab has been shown.
    QSize MinimumWithEveryPage() {
        for (int index = 0; index < kTabCount; ++index) {
            m_window->Page(index);
        }
        QApplication::processEvents();
        return m_window->minimumSize();
    }
    void ExpectEveryPageLaidOutAt(QSize size) {
        m_window->resize(size);
        for (int index = 0; index < kTabCount; ++index) {
            m_window->ShowPage(index);
            QApplication::processEvents();
            QWidget* page = m_window->Page(index);
            EXPECT_THAT(LayoutFaults(page), ::testing::IsEmpty())
                << "page " << page->accessibleName().toStdString() << " at " << size.width() << 'x'
                << size.height();
        }
    }
};

TEST_F(WindowLayout, EveryPageFitsAtTheMinimumSizeWhichFitsALaptopScreen) {
    const QSize minimum = MinimumWithEveryPage();
    EXPECT_LE(minimum.width(), 1366);
    EXPECT_LE(minimum.height(), 740);
    ExpectEveryPageLaidOutAt(minimum);
}

} // namespace
} // namespace orvane::test
