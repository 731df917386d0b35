#include "controls/AccessibleComboBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace orvane {

namespace {

// A list's children, as Qt's own interface gives them: its item view, then the text
// box of an editable list.
class AccessibleComboBox final : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? List()->currentText() : QAccessibleWidget::text(t);
    }

    int childCount() const override { return List()->isEditable() ? 2 : 1; }

    QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(List()->view());
        }
        if (index == 1 && List()->isEditable()) {
            return QAccessible::queryAccessibleInterface(List()->lineEdit());
        }
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        if (child == nullptr) {
            return -1;
        }
        if (child->object() == List()->view()) {
            return 0;
        }
        return List()->isEditable() && child->object() == List()->lineEdit() ? 1 : -1;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = List()->view()->isVisible();
        state.editable = List()->isEditable();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& actionName) override {
        if (actionName != showMenuAction() && actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
        } else if (List()->view()->isVisible()) {
            List()->hidePopup();
        } else {
            List()->showPopup();
        }
    }

private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* ListInterface(const QString& className, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    return className == QLatin1String("QComboBox") && list != nullptr ? new AccessibleComboBox(list)
                                                                      : nullptr;
}

} // namespace

void InstallAccessibleComboBox() {
    static const bool installed = [] {
        QAccessible::installFactory(&ListInterface);
        return true;
    }();
    static_cast<void>(installed);
}

} // namespace orvane
