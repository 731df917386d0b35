#include "app/ReportPdf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include "storage/DurableFile.h"

namespace orvane {

namespace {

constexpr qreal kMarginMm = 15;
constexpr int kBodyPoints = 9;

// Lays the document out on the writer's pages and paints them; the page count.
int PaintPages(QTextDocument& document, QPdfWriter& writer) {
    QPainter painter(&writer);
    const QRectF area(QPointF(0, 0),
                      writer.pageLayout().paintRectPixels(writer.resolution()).size());
    QFont footerFont(document.defaultFont());
    footerFont.setPointSizeF(kBodyPoints - 1);
    const qreal footer = QFontMetricsF(footerFont, &writer).height() * 2;
    document.setPageSize(QSizeF(area.width(), area.height() - footer));
    const qreal pageHeight = document.pageSize().height();
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            writer.newPage();
        }
        painter.save();
        painter.translate(0, -page * pageHeight);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * pageHeight, area.width(), pageHeight);
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, area.height() - footer, area.width(), footer),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages));
    }
    return pages;
}

} // namespace

QString WriteReportPdf(const std::string& html, const QString& title, const QString& path) {
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&bytes);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                              QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Orvane - GUI"));
        QTextDocument document;
        // Measured on the PDF's own resolution, so text and tables keep their sizes.
        document.documentLayout()->setPaintDevice(&writer);
        QFont font(QStringLiteral("DejaVu Sans"), kBodyPoints);
        // No ligatures: a reader searching the PDF for "Verification" must find it.
        font.setStyleStrategy(QFont::PreferNoShaping);
        document.setDefaultFont(font);
        document.setHtml(QString::fromStdString(html));
        PaintPages(document, writer);
    }
    const QByteArray& pdf = bytes.data();
    const DurableWriteResult written =
        WriteFileDurably(std::filesystem::path(path.toStdWString()),
                         {reinterpret_cast<const std::uint8_t*>(pdf.constData()),
                          static_cast<std::size_t>(pdf.size())});
    return written.ok ? QString() : QString::fromStdString(written.error);
}

} // namespace orvane
