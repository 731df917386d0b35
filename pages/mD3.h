#pragma once

#include <array>

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "core/image/RegisterLayout.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Mode" tab: the operating mode (what drives the fans, open or closed loop),
// which also sets the alarm hysteresis registers and the main window's "MODE" field,
// and the project mode.
class mD3 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD3)

public:
    mD3(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    void SetInputsEnabled(bool enabled) override;

    // In the order of the operating modes 1 to 4.
    QRadioButton* ModeButton(int index) { return m_modes.at(static_cast<std::size_t>(index)); }
    QComboBox* ProjectModeList() { return m_projectMode; }
    QLabel* CautionField() { return m_caution; }

protected:
    void LoadFields() override;

private:
    void OnModeClicked(reg::ControlMode mode);
    void OnProjectModeSelected(const QString& text);

    std::array<QRadioButton*, 4> m_modes{};
    QComboBox* m_projectMode = new QComboBox;
    QLabel* m_caution = new QLabel;
};

} // namespace orvane
