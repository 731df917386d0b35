#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Multi Point/Speed" tab; its fields arrive with their own change.
class mD6 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD6)

public:
    explicit mD6(IPageHost& host, QWidget* parent = nullptr) : CTickPage(host, 6, parent) {}
};

} // namespace orvane
