#include "pages/mD10.h"

#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/FixedColours.h"

namespace orvane {

mD10::mD10(IPageHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_picture(new CPictureEx), m_version(new QLabel),
      m_link(new QLabel(QString::fromLatin1(kDownloadAddress))) {
    m_picture->setFixedSize(128, 128);
    m_version->setAlignment(Qt::AlignHCenter);
    m_version->setTextFormat(Qt::PlainText);

    // Blue on an opaque background, with the hand pointer: it reads as a link. The blue is
    // fixed, so the face under it is fixed light too: a dark palette's face would swallow it.
    QPalette palette = m_link->palette();
    palette.setColor(QPalette::WindowText, kFixedLinkBlue);
    palette.setColor(QPalette::Window, kFixedLightFace);
    m_link->setPalette(palette);
    m_link->setAutoFillBackground(true);
    m_link->setMargin(4);
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setTextFormat(Qt::PlainText);
    m_link->setAlignment(Qt::AlignHCenter);
    m_link->setFocusPolicy(Qt::StrongFocus);
    m_link->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    layout->addSpacing(16);
    layout->addWidget(m_version);
    layout->addWidget(m_link, 0, Qt::AlignHCenter);
    layout->addStretch();

    m_picture->setAccessibleName(tr("Contact picture"));
    m_version->setAccessibleName(tr("Software Version"));
    m_link->setAccessibleName(QString::fromLatin1(kDownloadAddress));
    setAccessibleName(tr("Contact"));

    m_picture->Load(kPictureContact);
    m_picture->Draw();
}

void mD10::SetVersionText(const QString& text) {
    ShowText(m_version, text);
}

void mD10::OnLinkClicked() {
    m_host.OpenWithDesktop(kDownloadAddress);
}

bool mD10::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_link) {
        const bool clicked = event->type() == QEvent::MouseButtonRelease &&
                             static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        const bool keyed = event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space);
        if (clicked || keyed) {
            OnLinkClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvane
