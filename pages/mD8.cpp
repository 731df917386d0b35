#include "pages/mD8.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/QtText.h"
#include "core/comms/SequencerTexts.h"

namespace orvane {

namespace {

const QColor kNewestRow(Qt::black);
const QColor kOlderRows(96, 96, 96);

// The column names of the header's last line with the blanks after each: the
// table's columns are as wide, so the values stand under their names.
QStringList HeaderColumns(const QString& header) {
    const QString names = header.section('\n', -1);
    QStringList columns;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= names.size(); ++i) {
        if (i == names.size() || (names[i] != ' ' && names[i - 1] == ' ')) {
            columns << names.mid(start, i - start);
            start = i;
        }
    }
    return columns;
}

} // namespace

mD8::mD8(IPageHost& host, IMainWindowFields& fields, QWidget* parent)
    : TickPage(host, fields, kTabLiveData, parent),
      m_view(new QPushButton(tr("View Live Data / Start Logging"))),
      m_trend(new QPushButton(tr("Trend..."))), m_logBox(new QCheckBox(tr("Log Data File"))),
      m_picture(new CPictureEx), m_header(new QLabel),
      m_table(new QTableWidget(kLiveDataRows, kLiveDataColumns)) {
    m_view->setToolTip(tr("To view data, connection must be established. To log start logging "
                          "data, file must be specified via check box below"));
    NameControl(m_view, m_view->text());
    NameControl(m_logBox, m_logBox->text());
    NameControl(m_trend, m_trend->text());
    m_picture->setFixedSize(48, 48);
    m_picture->setAccessibleName(tr("Logging picture"));
    m_picture->Load(kPictureLiveIdle);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_header->setFont(fixed);
    m_header->setTextFormat(Qt::PlainText);
    m_header->setAccessibleName(tr("MEASURED VALUES"));
    m_table->setFont(fixed);
    m_table->setAccessibleName(tr("Measured values"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->setShowGrid(false);
    // The rows' ink is fixed, so their face is fixed white too: a dark palette's face would
    // swallow the black of the newest row.
    QPalette rows = m_table->palette();
    rows.setColor(QPalette::Base, Qt::white);
    m_table->setPalette(rows);
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setCornerButtonEnabled(false);
    // The view's own corner button, hidden with the headers, still counts as a control.
    for (auto* corner : m_table->findChildren<QAbstractButton*>()) {
        corner->setAccessibleName(tr("Measured values corner"));
    }
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int row = 0; row < kLiveDataRows; ++row) {
        for (int column = 0; column < kLiveDataColumns; ++column) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled);
            cell->setForeground(row == 0 ? kNewestRow : kOlderRows);
            m_table->setItem(row, column, cell);
        }
    }
    m_table->resizeRowsToContents();
    const int rowsHeight = m_table->verticalHeader()->length() + 2 * m_table->frameWidth();
    m_table->setFixedHeight(rowsHeight);
    // The header's text starts where the cells' texts do.
    const int textMargin =
        m_table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1;
    m_header->setContentsMargins(m_table->frameWidth() + textMargin, 0, 0, 0);
    ShowHeader(false);

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_view);
    controls->addSpacing(16);
    controls->addWidget(m_logBox);
    controls->addSpacing(16);
    controls->addWidget(m_trend);
    controls->addStretch();
    controls->addWidget(m_picture);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(controls);
    layout->addSpacing(12);
    layout->addWidget(m_header);
    layout->addWidget(m_table);
    layout->addStretch();

    connect(m_view, &QPushButton::clicked, this, &mD8::OnViewLiveData);
    connect(m_trend, &QPushButton::clicked, this, &mD8::TrendRequested);
    // The tick sets the box as a fill, which asks for nothing.
    Filling().OnToggle(m_logBox, [this](bool checked) { OnLogDataFile(checked); });
}

void mD8::ShowHeader(bool voltageInputs) {
    const QString header = Q(LiveDataHeader(voltageInputs));
    if (m_header->text() == header) {
        return;
    }
    ShowText(m_header, header);
    const QStringList columns = HeaderColumns(header);
    const QFontMetrics metrics(m_header->font());
    for (int column = 0; column < columns.size() && column < kLiveDataColumns; ++column) {
        m_table->setColumnWidth(column, metrics.horizontalAdvance(columns[column]));
    }
    QStringList names;
    for (const QString& column : columns) {
        names << column.trimmed();
    }
    m_table->setHorizontalHeaderLabels(names);
}

void mD8::ShowTable() {
    const LiveDataTable& table = m_rules.Table();
    for (int row = 0; row < kLiveDataRows; ++row) {
        for (int column = 0; column < kLiveDataColumns; ++column) {
            m_table->item(row, column)
                ->setText(
                    Q(table[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]));
        }
    }
}

void mD8::OnTimer() {
    if (Host().ActiveTab() != TabNumber()) {
        return;
    }
    const bool loggingPlaying =
        m_picture->ResourceId() == kPictureLiveLogging && m_picture->IsPlaying();
    const LiveDataTickActions actions =
        m_rules.OnTick(Host().Image(), Host().Sequencing(), Host().RefreshFlag(TabNumber()) == "0",
                       loggingPlaying);
    if (actions.voltageHeader) {
        ShowHeader(*actions.voltageHeader);
    }
    if (actions.logBoxChecked) {
        Filling().Run([this, &actions] { m_logBox->setChecked(*actions.logBoxChecked); });
    }
    if (actions.picture) {
        m_picture->Load(*actions.picture);
        m_picture->Draw();
    }
    if (actions.refreshDone) {
        Host().SetRefreshFlag(TabNumber(), "1");
    }
    if (actions.tableChanged) {
        ShowTable();
    }
}

void mD8::SetInputsEnabled(bool enabled) {
    m_view->setEnabled(enabled);
    m_logBox->setEnabled(enabled);
}

void mD8::OnViewLiveData() {
    if (!Host().Sequencing().IsConnected()) {
        Host().Prompter().ShowMessage(std::string(texts::kNotConnected),
                                      std::string(texts::kNotConnectedCaption),
                                      MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    Host().Requests().AskForLiveData();
}

void mD8::OnLogDataFile(bool checked) {
    Host().Requests().RequestLog(checked);
}

} // namespace orvane
