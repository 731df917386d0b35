#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Mode" tab; its fields arrive with their own change.
class mD3 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD3)

public:
    mD3(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 3, parent) {}
};

} // namespace orvane
