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
    QFont font = fixedFont(u"Courier"_s, 10, true);
    const QStringList lines = text.split(u"\r\n"_s);
    const qreal height = printer.pageLayout().paintRectPixels(printer.logicalDpiY()).height();
    const auto fitting = [&](const QFont& f) {
        const QFontMetricsF m(f, &printer);
        return static_cast<qsizetype>((height - m.ascent() - m.descent()) / m.lineSpacing()) + 1;
    };
    // A season of up to 60 matches stays on one sheet, in a smaller font where it must; a longer one
    // goes on over more sheets.
    const qsizetype oneSheet = std::min<qsizetype>(lines.size(), kLinesOnOneSheet);
    while (fitting(font) < oneSheet && font.pointSizeF() > 4)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const qsizetype perSheet = fitting(font);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % perSheet == 0 && !printer.newPage())
            return false;
        painter.drawText(QPointF(0, metrics.ascent() + metrics.lineSpacing() * static_cast<qreal>(i % perSheet)),
                         lines[i]);
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
