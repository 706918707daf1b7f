// SPDX-License-Identifier: MIT
#include "saveview.h"

#include "export/formats.h"
#include "lookups/pageprinter.h"
#include "platform/desktop.h"
#include "season/datafiles.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace {

void write(QWidget* parent, const QString& path, const QByteArray& bytes)
{
    if (const Result<void> written = writeFileAtomically(path, bytes); !written.ok())
        Desktop::instance().tell(parent, written.error(), Desktop::Icon::Critical);
}

} // namespace

QString fileNameFor(const QString& caption)
{
    QString name = caption.simplified();
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == u':')
            c = u'-';
    }
    return name;
}

void saveView(QWidget* parent, const ViewTable& view)
{
    const QString path =
        Desktop::instance().fileToSave(parent, u"Uložit"_s, fileNameFor(view.caption) + u".csv",
                                       u"Tabulka CSV pro tabulkový procesor (*.csv);;Webová stránka HTML (*.html)"_s);
    if (path.isEmpty())
        return;
    const bool html = path.endsWith(u".html", Qt::CaseInsensitive) || path.endsWith(u".htm", Qt::CaseInsensitive);
    write(parent, path, html ? toHtml(view) : toCsv(view));
}

void saveICalendar(QWidget* parent, const QByteArray& bytes, const QString& suggestedName)
{
    const QString path = Desktop::instance().fileToSave(parent, u"Uložit do kalendáře"_s, suggestedName,
                                                        u"Kalendář iCalendar (*.ics)"_s);
    if (!path.isEmpty())
        write(parent, path, bytes);
}

void printPage(QWidget* parent, const QString& page, const QString& pdfName)
{
    Desktop& desktop = Desktop::instance();
    const int sheets = (static_cast<int>(page.count(u'\n')) + kLinesOnOneSheet) / kLinesOnOneSheet;
    if (desktop.message(parent,
                        u"Zapněte tiskárnu a zkontrolujte papír. Bude potřeba %1 %2 formátu A4.\r\n\r\n"
                        "Tisk zahájíte kliknutím na tlačítko OK."_s.arg(sheets)
                            .arg(sheets == 1  ? u"list"_s
                                 : sheets < 5 ? u"listy"_s
                                              : u"listů"_s),
                        Desktop::Icon::Information, Desktop::Buttons::OkCancel, u"tisk"_s) != Desktop::Answer::Ok)
        return;
    if (desktop.printerInstalled()) {
        QPrinter printer(QPrinter::HighResolution);
        if (!printTextPage(printer, page))
            desktop.tell(parent, u"Stránku se nepodařilo vytisknout."_s, Desktop::Icon::Critical);
        return;
    }
    if (desktop.tell(parent, u"Není nainstalována žádná tiskárna.\r\n\r\nChcete stránku uložit jako soubor PDF?"_s,
                     Desktop::Icon::Question, Desktop::Buttons::YesNo) != Desktop::Answer::Yes)
        return;
    const QString path = desktop.pdfFileToSave(parent, pdfName);
    if (path.isEmpty())
        return;
    if (const Result<void> saved = printTextPageToPdf(path, page); !saved.ok()) {
        desktop.tell(parent, u"Stránku se nepodařilo uložit.\r\n"_s + saved.error(), Desktop::Icon::Critical);
        return;
    }
    desktop.tell(parent, u"Stránka je uložena v souboru\r\n"_s + QDir::toNativeSeparators(path),
                 Desktop::Icon::Information);
}

void addSaveCommand(QDialog* window, std::function<ViewTable()> view, const QString& nothingShown)
{
    auto* button = new QPushButton(u"Uložit…"_s, window);
    button->setObjectName(u"cmdUlozit"_s);
    button->setAutoDefault(false);
    button->setToolTip(u"Uložit jako tabulku CSV nebo webovou stránku (Ctrl+S)"_s);
    const auto save = [window, view, nothingShown] {
        const ViewTable v = view();
        if (!v.rows.isEmpty())
            saveView(window, v);
        else
            Desktop::instance().tell(window, nothingShown, Desktop::Icon::Information);
    };
    QObject::connect(button, &QPushButton::clicked, window, save);
    QObject::connect(new QShortcut(QKeySequence::Save, window), &QShortcut::activated, window, save);
    const bool fixedSize = window->minimumSize() == window->maximumSize();
    if (auto* grid = qobject_cast<QGridLayout*>(window->layout())) {
        grid->addWidget(button, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignRight);
    } else if (auto* box = qobject_cast<QBoxLayout*>(window->layout())) {
        // Off the window's edge even where the rest of the window runs to it.
        constexpr int margin = 6;
        auto* row = new QHBoxLayout;
        row->setContentsMargins(0, 0, box->contentsMargins().right() < margin ? margin : 0,
                                box->contentsMargins().bottom() < margin ? margin : 0);
        row->addStretch();
        row->addWidget(button);
        box->addLayout(row);
        if (fixedSize) // the rest keeps its room
            window->setFixedHeight(window->height() + button->sizeHint().height() + std::max(box->spacing(), 6) +
                                   row->contentsMargins().bottom());
    } else { // a window of designed geometry grows by a strip at its foot
        button->adjustSize();
        const int margin = 6;
        const int top = window->height();
        window->setFixedHeight(top + button->height() + 2 * margin);
        button->move(window->width() - button->width() - 2 * margin, top + margin);
    }
}
