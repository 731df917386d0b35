#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "controls/CPictureEx.h"
#include "core/rules/LiveDataRules.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Live Data" tab: starts the live readings, shows the last five as a table,
// newest on top, and switches logging to a file on and off. The readings are split
// and logged by the main window; this page formats what it holds.
class mD8 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD8)

public:
    mD8(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    // Runs on its own steps rather than the common reload (see LiveDataRules).
    void OnTimer() override;
    void SetInputsEnabled(bool enabled) override;

    // "View Live Data / Start Logging".
    void OnViewLiveData();
    // "Log Data File" changed by the user.
    void OnLogDataFile(bool checked);

    QPushButton* ViewButton() { return m_view; }
    QPushButton* TrendButton() { return m_trend; }
    QCheckBox* LogBox() { return m_logBox; }
    QLabel* HeaderField() { return m_header; }
    QTableWidget* Table() { return m_table; }
    CPictureEx* Picture() { return m_picture; }

signals:
    // "Trend..." pressed: the main window shows its trend window.
    void TrendRequested();

private:
    void ShowHeader(bool voltageInputs);
    void ShowTable();

    LiveDataRules m_rules;
    QPushButton* m_view = nullptr;
    QPushButton* m_trend = nullptr;
    QCheckBox* m_logBox = nullptr;
    CPictureEx* m_picture = nullptr;
    QLabel* m_header = nullptr;
    QTableWidget* m_table = nullptr;
};

} // namespace orvane
