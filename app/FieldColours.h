#pragma once

#include <optional>

#include <QColor>
#include <QString>

namespace orvane {

// The main-window fields whose colours depend on what they say.
enum class StatusField { Checksum, StatusLine, Activity, Note, Connection };

struct FieldColours {
    std::optional<QColor> text;
    std::optional<QColor> background;
};

inline const QColor kWarningRed{250, 10, 22};
inline const QColor kWarningYellow{255, 255, 0};

// Red text (on yellow for the fields that report a fault) while the field's text
// reports a problem; the note field is always red.
FieldColours OnCtlColor(StatusField field, const QString& text);

} // namespace orvane
