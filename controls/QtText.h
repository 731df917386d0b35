#pragma once

#include <string>

#include <QString>

namespace orvane {

// The core's texts (UTF-8) as Qt text.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace orvane
