// SPDX-License-Identifier: MIT
#include "pageprinter.h"

#include "lookups/fixedfont.h"

#include "season/datafiles.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

bool isMonospaced(const QFont& font)
{
    // Some monospaced fonts do not say so; what counts is that the columns line up, Czech letters included.
    const QFontMetricsF m(font);
    const qreal advance = m.horizontalAdvance(u'i');
    return advance > 0 && m.horizontalAdvance(u'W') == advance && m.horizontalAdvance(u'Č') == advance &&
           m.horizontalAdvance(u' ') == advance;
}

QFont fixedFont(const QString& family, int pointSize, bool bold)
{
    QFont font;
    for (const QString& candidate : {family, u"DejaVu Sans Mono"_s, QString()}) {
        font = candidate.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QFont(candidate);
        font.setStyleHint(QFont::TypeWriter);
        font.setPointSize(pointSize);
        font.setBold(bold);
        if (isMonospaced(font))
            break;
    }
    return font;
}

bool printTextPage(QPagedPaintDevice& printer, const QString& text)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setFont(fixedFont(u"Courier"_s, 10, true));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QStringList lines = text.split(u"\r\n"_s);
    // A full season's list must stay on one sheet: tighten the lines rather than spill onto a second page.
    const qreal available = printer.pageLayout().paintRectPixels(printer.logicalDpiY()).height() - metrics.descent();
    const qreal step =
        std::min(metrics.lineSpacing(), (available - metrics.ascent()) / std::max<qsizetype>(lines.size() - 1, 1));
    qreal y = metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(QPointF(0, y), line);
        y += step;
    }
    return painter.end();
}

Result<void> printTextPageToPdf(const QString& path, const QString& text)
{
    // Made in memory and written in one go, so that a full disk never leaves half a PDF behind.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        if (!printTextPage(writer, text))
            return Result<void>::failure(u"Stránku nelze vytvořit."_s);
    }
    return writeFileAtomically(path, pdf.data());
}
