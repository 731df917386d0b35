#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Fan Setting" tab; its fields arrive with their own change.
class mD4 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD4)

public:
    mD4(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 4, parent) {}
};

} // namespace orvane
