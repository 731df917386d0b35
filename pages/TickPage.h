#pragma once

#include <QTimer>
#include <QWidget>

#include "pages/PageFill.h"
#include "pages/PageHost.h"

namespace orvane {

// A page from "Start" to "Indicator": its own one-second tick, which does nothing
// unless its tab is the visible one, and reloads the page when its refresh flag
// reads "0" (the main window clears all flags on every tab change). A hidden page
// has nothing to do, so its timer runs only while the main window shows it.
class TickPage : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TickPage)

public:
    TickPage(IPageHost& host, IMainWindowFields& fields, int tabNumber, QWidget* parent = nullptr);

    // The page's timer handler; tests call it directly. By default: nothing unless
    // the tab is visible, then LoadFields while the refresh flag reads "0" (setting
    // it to "1"), then OnVisibleTick. Pages whose tick runs otherwise replace it.
    virtual void OnTimer();
    int TabNumber() const { return m_tabNumber; }
    // The page's input controls, disabled while a command runs.
    virtual void SetInputsEnabled(bool enabled) { static_cast<void>(enabled); }

    // Run by the main window as the page is shown and hidden; the first tick comes
    // one period after the page is shown.
    void StartTicking();
    void StopTicking();
    bool IsTicking() const { return m_timer.isActive(); }

protected:
    // Fills the page's fields from the register image; OnTimer runs it as a fill.
    virtual void LoadFields() {}
    // The rest of a visible tick.
    virtual void OnVisibleTick() {}
    IPageHost& Host() { return m_host; }
    IMainWindowFields& Fields() { return m_fields; }
    // The page's one fill guard: its stores are wired through it, its fills run in it.
    PageFill& Filling() { return m_fill; }

private:
    IPageHost& m_host;
    IMainWindowFields& m_fields;
    int m_tabNumber;
    QTimer m_timer;
    PageFill m_fill;
};

} // namespace orvane
