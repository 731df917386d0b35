#include "controls/DarkPalette.h"

namespace orvane {

QPalette DarkDesktopPalette() {
    const QColor face(53, 53, 53), ink(220, 220, 220);
    QPalette dark(face, face);
    for (const auto& [role, colour] : {std::pair{QPalette::WindowText, ink},
                                       {QPalette::Text, ink},
                                       {QPalette::ButtonText, ink},
                                       {QPalette::Base, QColor(42, 42, 42)},
                                       {QPalette::AlternateBase, QColor(60, 60, 60)},
                                       {QPalette::Highlight, QColor(0x30, 0x8c, 0xc6)},
                                       {QPalette::HighlightedText, QColor(Qt::white)},
                                       {QPalette::ToolTipBase, QColor(42, 42, 42)},
                                       {QPalette::ToolTipText, ink},
                                       {QPalette::Link, QColor(0x6c, 0xb4, 0xee)}}) {
        dark.setColor(role, colour);
    }
    // Switched-off controls fade, as in the light palette.
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    }
    return dark;
}

} // namespace orvane
