#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "ModBus" tab; its fields arrive with their own change.
class mD5 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD5)

public:
    mD5(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 5, parent) {}
};

} // namespace orvane
