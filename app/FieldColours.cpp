#include "app/FieldColours.h"

namespace orvane {

FieldColours OnCtlColor(StatusField field, const QString& text) {
    switch (field) {
    case StatusField::Checksum:
        if (text == "Error!") {
            return {kWarningRed, kWarningYellow};
        }
        break;
    case StatusField::StatusLine:
        if (text == "Syncing...") {
            return {kWarningRed, std::nullopt};
        }
        break;
    case StatusField::Activity:
        if (text == "Communicating...") {
            return {kWarningRed, kWarningYellow};
        }
        break;
    case StatusField::Note:
        return {kWarningRed, std::nullopt};
    case StatusField::Connection:
        if (text == "Disconnected from COM Port") {
            return {kWarningRed, kWarningYellow};
        }
        break;
    }
    return {};
}

} // namespace orvane
