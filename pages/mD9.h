#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Indicator" tab; its fields arrive with their own change.
class mD9 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD9)

public:
    explicit mD9(IPageHost& host, QWidget* parent = nullptr) : CTickPage(host, 9, parent) {}
};

} // namespace orvane
