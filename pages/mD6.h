#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Multi Point/Speed" tab; its fields arrive with their own change.
class mD6 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD6)

public:
    mD6(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 6, parent) {}
};

} // namespace orvane
