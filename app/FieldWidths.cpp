#include "app/FieldWidths.h"

#include <algorithm>

#include <QLabel>

namespace orvane {

int WidthForTexts(const QLabel& field, const QStringList& texts) {
    // Measured on a copy, so that the field itself shows and announces nothing meanwhile.
    QLabel copy;
    copy.setFont(field.font());
    copy.setFrameStyle(field.frameStyle());
    copy.setLineWidth(field.lineWidth());
    copy.setMidLineWidth(field.midLineWidth());
    copy.setMargin(field.margin());
    copy.setIndent(field.indent());
    copy.setAlignment(field.alignment());
    copy.setTextFormat(field.textFormat());
    copy.setContentsMargins(field.contentsMargins());
    int width = 0;
    for (const QString& text : texts) {
        copy.setText(text);
        width = std::max(width, copy.sizeHint().width());
    }
    return width;
}

} // namespace orvane
