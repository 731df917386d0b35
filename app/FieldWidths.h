#pragma once

#include <QStringList>

class QLabel;

namespace orvane {

// The width `field` needs, as it is framed and in its font, to show the widest of `texts`:
// fixed to it, a change of text never moves the field's neighbours.
int WidthForTexts(const QLabel& field, const QStringList& texts);

} // namespace orvane
