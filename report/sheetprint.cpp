// Painting the sheet page by page: Qt lays the rich text out on pages of the device's size; each
// page gets a footer with the device and the page number.
#include "report/sheet.h"

#include "lang/messagetable.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace q7x::report {

namespace {

constexpr int BodyPointSize = 8;

// Message 1704 with the page and the page count for its two "%d", in that order.
QString pageText(int page, int count) {
    QString text = lang::M(1704);
    for (int value : {page, count}) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(value));
    }
    return text;
}

} // namespace

bool paintSheet(QPagedPaintDevice &device, const Configuration &c, const SheetOptions &o,
                const FieldWords &words) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&device);
    QFont font = doc.defaultFont();
    font.setPointSize(BodyPointSize);
    // Without ligatures the PDF's text reads back (and is found by a viewer's search) as typed.
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(font);
    doc.setHtml(sheetHtml(c, o, words));

    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QFontMetricsF metrics(font, &device);
    const qreal footer = metrics.height() * 2;
    const QSizeF body(area.width(), area.height() - footer);
    doc.setPageSize(body);
    const int pages = doc.pageCount();
    const QString left = o.fileName.isEmpty() ? modelName(c)
                                              : modelName(c) + QStringLiteral(" · ") +
                                                    o.fileName.section(QLatin1Char('/'), -1);
    painter.setFont(font);
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        painter.save();
        const QRectF clip(0, page * body.height(), body.width(), body.height());
        painter.translate(0, -clip.top());
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        const QRectF line(0, body.height() + footer / 2, body.width(), footer / 2);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, left);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, pageText(page + 1, pages));
    }
    return painter.end();
}

bool writeSheetPdf(const QString &path, const Configuration &c, const SheetOptions &o,
                   const FieldWords &words, QString *error) {
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 12, 12, 12), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(lang::FormatM(1700, modelName(c)));
        writer.setCreator(QStringLiteral("q7xconf"));
        ok = paintSheet(writer, c, o, words);
    }
    ok = ok && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

} // namespace q7x::report
