#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Start" tab; its fields arrive with their own change.
class mD2 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD2)

public:
    mD2(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 2, parent) {}
};

} // namespace orvane
