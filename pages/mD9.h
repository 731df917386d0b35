#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Indicator" tab; its fields arrive with their own change.
class mD9 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD9)

public:
    mD9(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 9, parent) {}
};

} // namespace orvane
