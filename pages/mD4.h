#pragma once

#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "core/image/RegisterLayout.h"
#include "core/rules/FanSettings.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Fan Setting" tab: each fan's hardware settings and three output-wide options.
// Every edit goes straight into the register image.
class mD4 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD4)

public:
    mD4(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    void SetInputsEnabled(bool enabled) override;

protected:
    void LoadFields() override;

private:
    struct FanRow {
        QCheckBox* used = nullptr;
        QComboBox* pulsesPerRev = nullptr;
        QComboBox* stationaryPwm = nullptr;
        QComboBox* controlType = nullptr;
        QLineEdit* rampRate = nullptr;
        QLineEdit* maxRpm = nullptr;
    };

    void BuildLayout();
    void WireSignals();
    // Stores the list's text, after the no-tacho reminder for an item chosen.
    void OnPulsesPerRevChanged(int fan);
    // A number box's or list's text into its register, showing the bound it was held to.
    void OnEntryChanged(QLineEdit* box, int index);
    void OnListTextEdited(QComboBox* list, int index);

    FanSettings m_settings;
    std::array<FanRow, reg::kFanCount> m_rows{};
    QCheckBox* m_dummyFanLink = nullptr;
    QCheckBox* m_dailyFanRun = nullptr;
    QLineEdit* m_pwmFrequency = nullptr;
};

} // namespace orvane
