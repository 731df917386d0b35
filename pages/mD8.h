#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Live Data" tab; its fields arrive with their own change.
class mD8 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD8)

public:
    mD8(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 8, parent) {}
};

} // namespace orvane
