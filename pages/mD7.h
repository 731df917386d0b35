#pragma once

#include "pages/CTickPage.h"

namespace orvane {

// The "Alarm Config." tab; its fields arrive with their own change.
class mD7 final : public CTickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD7)

public:
    mD7(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr)
        : CTickPage(host, fields, 7, parent) {}
};

} // namespace orvane
