// SPDX-License-Identifier: MIT
#include "desktop.h"

#include "common/programinfo.h"
#include "season/datafolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// Qt wraps a message at about half the screen, mid-phrase; the program's messages break their own lines.
// A line wider than the box may grow wraps: the box never grows past Qt's own limit, and a label wider
// than the box would be cut at its edge.
void keepLinesWhole(QMessageBox& box, const QString& text)
{
    auto* label = box.findChild<QLabel*>(u"qt_msgbox_label"_s);
    if (!label)
        return;
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line.trimmed()));
    const QScreen* screen = box.screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 800;
    const int boxLimit = screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
    constexpr int iconAndMargins = 160;
    label->setMinimumWidth(std::max(0, std::min(widest + 4, boxLimit - iconAndMargins)));
}

QMessageBox::Icon qtIcon(Desktop::Icon icon)
{
    static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Question,
                                              QMessageBox::Warning, QMessageBox::Critical};
    return icons[static_cast<int>(icon)];
}

class QtDesktop final : public Desktop {
public:
    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons, const QString& title) override
    {
        QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
        keepLinesWhole(box, text);
        switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        }
        // Czech even where Qt's own translation is not installed.
        const std::pair<QMessageBox::StandardButton, QString> czech[] = {{QMessageBox::Ok, u"OK"_s},
                                                                         {QMessageBox::Cancel, u"Zrušit"_s},
                                                                         {QMessageBox::Yes, u"Ano"_s},
                                                                         {QMessageBox::No, u"Ne"_s}};
        for (const auto& [which, caption] : czech) {
            if (QAbstractButton* b = box.button(which))
                b->setText(caption);
        }
        switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return buttons == Buttons::YesNo ? Answer::No : buttons == Buttons::OkCancel ? Answer::Cancel : Answer::Ok;
        }
    }
    int choose(QWidget* parent, const QString& text, Icon icon, const QStringList& buttons,
               const QString& title) override
    {
        QMessageBox box(qtIcon(icon), title, text, QMessageBox::NoButton, parent);
        keepLinesWhole(box, text);
        QList<QPushButton*> pushed;
        for (const QString& caption : buttons)
            pushed << box.addButton(caption, pushed.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
        // Enter and Escape alike take the last, the safe one.
        box.setDefaultButton(pushed.last());
        box.setEscapeButton(pushed.last());
        box.exec();
        const qsizetype index = pushed.indexOf(box.clickedButton());
        return static_cast<int>(index < 0 ? pushed.size() - 1 : index);
    }
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    QString programFolder() const override { return dataFolder().path; }
    QString dataFolderProblem() const override { return dataFolder().problem; }
    static const DataFolder& dataFolder()
    {
        static const DataFolder folder = prepareDataFolder(
            QCoreApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        return folder;
    }
    void beep() override { QApplication::beep(); }
    bool printerInstalled() const override { return !QPrinterInfo::availablePrinters().isEmpty(); }
    QString fileToSave(QWidget* parent, const QString& title, const QString& suggestedName,
                       const QString& filters) override
    {
        QString chosen;
        QString path =
            QFileDialog::getSaveFileName(parent, title, QDir(startFolder()).filePath(suggestedName), filters, &chosen);
        if (!path.isEmpty())
            m_lastFolder = QFileInfo(path).absolutePath();
        static const QRegularExpression extension(u"\\*(\\.[A-Za-z0-9]+)"_s);
        const QRegularExpressionMatch m = extension.match(chosen);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && m.hasMatch())
            path += m.captured(1);
        return path;
    }

    QString fileToOpen(QWidget* parent, const QString& title, const QString& filters) override
    {
        const QString path = QFileDialog::getOpenFileName(parent, title, startFolder(), filters);
        if (!path.isEmpty())
            m_lastFolder = QFileInfo(path).absolutePath();
        return path;
    }

private:
    // Where the user chose a file last, else his documents; never the program's own working folder.
    const QString& startFolder()
    {
        if (m_lastFolder.isEmpty())
            m_lastFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (m_lastFolder.isEmpty() || !QFileInfo(m_lastFolder).isDir())
            m_lastFolder = QDir::homePath();
        return m_lastFolder;
    }
    QString m_lastFolder;
};

Desktop* installed = nullptr;

} // namespace

Desktop& Desktop::instance()
{
    static QtDesktop real;
    return installed ? *installed : real;
}

void Desktop::install(Desktop* desktop)
{
    installed = desktop;
}

QString Desktop::pdfFileToSave(QWidget* parent, const QString& suggestedName)
{
    return fileToSave(parent, u"Uložit jako PDF"_s, suggestedName, u"PDF (*.pdf)"_s);
}

void Desktop::browse(QWidget* parent, const QUrl& url)
{
    if (!openUrl(url))
        tell(parent,
             u"Stránku %1 se nepodařilo otevřít: v systému není nastaven webový prohlížeč. Otevřete ji "
             "v prohlížeči ručně."_s.arg(url.toString()),
             Icon::Warning);
}

Desktop::Answer Desktop::tell(QWidget* parent, const QString& text, Icon icon, Buttons buttons)
{
    return message(parent, text, icon, buttons, program::title);
}

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}
