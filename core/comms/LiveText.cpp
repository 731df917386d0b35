#include "core/comms/LiveText.h"

#include <cmath>

#include "core/image/Conversions.h"

namespace orvane {

int ReadLiveInteger(std::string_view text) {
    return ScanDecimal(text).value_or(0);
}

double ReadLiveNumber(std::string_view text) {
    const double value = ScanReal(text).value_or(0.0);
    return std::isfinite(value) ? value : 0.0;
}

} // namespace orvane
