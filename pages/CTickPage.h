#pragma once

#include <QTimer>
#include <QWidget>

#include "pages/PageHost.h"

namespace orvane {

// A page from "Start" to "Indicator": its own 1000 ms tick, which does nothing
// unless its tab is the visible one, and reloads the page when its refresh flag
// reads "0" (the main window clears all flags on every tab change).
class CTickPage : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CTickPage)

public:
    CTickPage(IPageHost& host, int tabNumber, QWidget* parent = nullptr);

    // The page's timer handler; tests call it directly.
    void OnTimer();
    int TabNumber() const { return m_tabNumber; }
    // The page's input controls, disabled while a command runs.
    virtual void SetInputsEnabled(bool enabled) { static_cast<void>(enabled); }

protected:
    // Fills the page's fields from the register image.
    virtual void LoadFields() {}
    // The rest of a visible tick.
    virtual void OnVisibleTick() {}
    IPageHost& Host() { return m_host; }

private:
    IPageHost& m_host;
    int m_tabNumber;
    QTimer m_timer;
};

} // namespace orvane
