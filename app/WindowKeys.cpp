#include "app/WindowKeys.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTabBar>

namespace orvane {

int NextTab(int current, int step, int count) {
    return count <= 0 ? -1 : ((current + step) % count + count) % count;
}

void InstallWindowKeys(QWidget* window, QTabBar* tabs, const WindowKeyActions& actions) {
    const auto bind = [window](const QKeySequence& keys, std::function<void()> action) {
        auto* shortcut = new QShortcut(keys, window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, std::move(action));
    };
    const auto step = [tabs](int by) {
        return
            [tabs, by] { tabs->setCurrentIndex(NextTab(tabs->currentIndex(), by, tabs->count())); };
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}) {
        bind(keys, step(1));
    }
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        bind(keys, step(-1));
    }
    bind(QKeySequence::Save, actions.save);
    bind(QKeySequence::Open, actions.open);
    bind(QKeySequence::Undo, actions.undo);
}

} // namespace orvane
