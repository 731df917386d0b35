#pragma once

#include <QLabel>
#include <QWidget>

#include "controls/CPictureEx.h"
#include "pages/PageHost.h"

namespace orvane {

// Where newer versions of the software can be downloaded.
inline constexpr const char* kDownloadAddress = "https://downloads.halvorn.example/orvane-gui/";

// The "Contact" tab: version and build time, the download address as a link, and
// the animated picture.
class mD10 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(mD10)

public:
    explicit mD10(IPageHost& host, QWidget* parent = nullptr);

    // The "Software Version" field, filled by the main window at start-up.
    void SetVersionText(const QString& text);
    QLabel* VersionField() { return m_version; }
    QLabel* LinkField() { return m_link; }
    CPictureEx* Picture() { return m_picture; }

    // Click on the link field.
    void OnLinkClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IPageHost& m_host;
    CPictureEx* m_picture = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_link = nullptr;
};

} // namespace orvane
