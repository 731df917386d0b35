#include "pages/GridControls.h"

#include <QRegularExpressionValidator>

#include "controls/AccessibleText.h"

namespace orvane {

void AcceptDigitsOnly(QLineEdit* edit, int maxDigits) {
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString("[0-9]{0,%1}").arg(maxDigits)), edit));
    edit->setMaxLength(maxDigits);
}

QLineEdit* NewNumberBox(const QString& name, int width) {
    auto* box = new QLineEdit;
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(width, '0')) + 12);
    NameControl(box, name);
    TrackShownValue(box);
    return box;
}

QComboBox* NewEditableList(const QString& name, const QStringList& items) {
    auto* list = new QComboBox;
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    list->addItems(items);
    NameControl(list, name);
    TrackShownValue(list);
    return list;
}

void ShowListText(QComboBox* list, const QString& text) {
    const int item = list->findText(text, Qt::MatchExactly);
    list->setCurrentIndex(item);
    if (item < 0) {
        list->setEditText(text);
    }
}

QLabel* NewHeader(const QString& text) {
    auto* header = NewCaption(text);
    header->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    return header;
}

void SetHeaderText(QLabel* header, const QString& text) {
    header->setText(text);
    header->setAccessibleName(text);
}

} // namespace orvane
