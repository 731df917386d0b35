#pragma once

#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/rules/ProfileSet.h"
#include "pages/ProfileChart.h"
#include "pages/TickPage.h"

namespace orvane {

// The "Multi Point/Speed" tab: each fan's speed curve over its input, edited on the
// page's own copy of the four profiles and written into the register image only by
// "Cleanup / Store Profiles". While edits are unstored the main window's download and
// save buttons are locked and its note says why.
class mD6 final : public TickPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD6)

public:
    mD6(IPageHost& host, IMainWindowFields& fields, QWidget* parent = nullptr);

    // "Settings for Fan", "Copy From" and "Cleanup / Store Profiles".
    void SetInputsEnabled(bool enabled) override;

    void OnFanSelected();
    void OnPointInputEdited(int point);
    void OnPointSpeedEdited(int point);
    void OnOnValueEdited();
    void OnOffValueEdited();
    void OnAlwaysOnClicked(bool checked);
    void OnTwoPointClicked(bool checked);
    void OnMultiPointClicked(bool checked);
    void OnActiveInputChosen();
    void OnCopyFrom();
    void OnCopySourceChosen();
    void OnStoreProfiles();
    // A point of the selected fan moved on the chart: its boxes are filled as typing would.
    void MovePointByHand(int point, profile::ProfilePoint at);

    QComboBox* FanList() { return m_fanList; }
    QPushButton* CopyFromButton() { return m_copyFrom; }
    QComboBox* CopySourceList() { return m_copySource; }
    QLineEdit* OnBox() { return m_on; }
    QLineEdit* OffBox() { return m_off; }
    QCheckBox* AlwaysOnBox() { return m_alwaysOn; }
    QCheckBox* TwoPointBox() { return m_twoPoint; }
    QCheckBox* MultiPointBox() { return m_multiPoint; }
    QLineEdit* PointInput(int point) { return m_pointInputs.at(Slot(point)); }
    QLineEdit* PointSpeed(int point) { return m_pointSpeeds.at(Slot(point)); }
    QPushButton* StoreButton() { return m_store; }
    ProfileChart* ProfileChartView() { return m_chart; }
    // The labels that follow the profile type: ON, OFF, active input, input row, speed row.
    std::array<QLabel*, 5> TypeLabels() const {
        return {m_onLabel, m_offLabel, m_activeInputLabel, m_inputRowLabel, m_speedRowLabel};
    }
    const profile::ProfileSet& Profiles() const { return m_profiles; }

protected:
    // Type, labels, tooltips and every profile from the image; with a fan selected,
    // all four cleaned up and the selected one shown.
    void LoadFields() override;
    // While live data runs: each shown fan's operating point on the chart.
    void OnVisibleTick() override;

private:
    static std::size_t Slot(int point) { return static_cast<std::size_t>(point - 1); }
    void BuildLayout();
    void WireSignals();
    // The fan chosen in "Settings for Fan": 1 to 4, 0 for none.
    int SelectedFan() const;
    void ShowProfileType(bool known);
    void ShowSelectedFan();
    void ShowRecord(const profile::ProfileRecord& record);
    void EnablePointBoxes(profile::PointMode mode);
    void SetOnOffBoxes(bool enabled, const QString& on, const QString& off);
    void OnPointModeClicked(QCheckBox* clicked, QCheckBox* other, bool checked,
                            profile::PointMode mode);
    void ApplyStoreLock();
    std::vector<int> MovablePoints() const;

    profile::ProfileSet m_profiles;

    QComboBox* m_fanList = nullptr;
    QPushButton* m_copyFrom = nullptr;
    QComboBox* m_copySource = nullptr;
    QLabel* m_onLabel = nullptr;
    QLineEdit* m_on = nullptr;
    QCheckBox* m_alwaysOn = nullptr;
    QLabel* m_offLabel = nullptr;
    QLineEdit* m_off = nullptr;
    QLabel* m_activeInputLabel = nullptr;
    QComboBox* m_activeInput = nullptr;
    QCheckBox* m_twoPoint = nullptr;
    QCheckBox* m_multiPoint = nullptr;
    QLabel* m_inputRowLabel = nullptr;
    QLabel* m_speedRowLabel = nullptr;
    std::array<QLineEdit*, reg::kPointCount> m_pointInputs{};
    std::array<QLineEdit*, reg::kPointCount> m_pointSpeeds{};
    QPushButton* m_store = nullptr;
    ProfileChart* m_chart = nullptr;
};

} // namespace orvane
