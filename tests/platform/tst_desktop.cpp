// SPDX-License-Identifier: MIT
// The real desktop adapter: real message boxes and the real file dialog, answered by a timer.
#include "platform/desktop.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Acts on the next modal window as soon as it is shown: the real dialog runs its own event loop meanwhile.
template <typename Window> void whenShown(std::function<void(Window*)> act)
{
    QTimer::singleShot(0, [act] {
        if (auto* w = qobject_cast<Window*>(QApplication::activeModalWidget()); w && w->isVisible())
            act(w);
        else
            whenShown<Window>(act);
    });
}

// Presses the button with this text in the next message box, and records every button text seen.
void pressWhenShown(const QString& button, QStringList* seen)
{
    whenShown<QMessageBox>([button, seen](QMessageBox* box) {
        for (QAbstractButton* b : box->buttons()) {
            *seen << b->text();
            if (b->text() == button)
                b->click();
        }
    });
}

} // namespace

class tst_desktop final : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messageBoxes_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("answer");
        using D = Desktop;
        QTest::addRow("OK") << int(D::Buttons::Ok) << "OK" << QStringList{u"OK"_s} << int(D::Answer::Ok);
        QTest::addRow("OK of OK/Cancel") << int(D::Buttons::OkCancel) << "OK" << QStringList{u"OK"_s, u"Zrušit"_s}
                                         << int(D::Answer::Ok);
        QTest::addRow("Cancel") << int(D::Buttons::OkCancel) << "Zrušit" << QStringList{u"OK"_s, u"Zrušit"_s}
                                << int(D::Answer::Cancel);
        QTest::addRow("Yes") << int(D::Buttons::YesNo) << "Ano" << QStringList{u"Ano"_s, u"Ne"_s}
                             << int(D::Answer::Yes);
        QTest::addRow("No") << int(D::Buttons::YesNo) << "Ne" << QStringList{u"Ano"_s, u"Ne"_s} << int(D::Answer::No);
    }

    void messageBoxes()
    {
        QFETCH(int, buttons);
        QFETCH(QString, press);
        QFETCH(QStringList, texts);
        QFETCH(int, answer);
        QStringList seen;
        pressWhenShown(press, &seen);
        const auto got = Desktop::instance().message(nullptr, u"text"_s, Desktop::Icon::Question,
                                                     static_cast<Desktop::Buttons>(buttons), u"KLX"_s);
        QCOMPARE(static_cast<int>(got), answer);
        seen.sort();
        texts.sort();
        QCOMPARE(seen, texts);
    }

    void choice()
    {
        QStringList seen;
        const QStringList buttons{u"Zkusit znovu"_s, u"Odejít bez uložení"_s, u"Zůstat v programu"_s};
        pressWhenShown(buttons[1], &seen);
        QCOMPARE(Desktop::instance().choose(nullptr, u"text"_s, Desktop::Icon::Critical, buttons, u"KLX"_s), 1);
        // Escape and Enter take the last, the safe one.
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
            whenShown<QMessageBox>([key](QMessageBox* box) { QTest::keyClick(box, key); });
            QCOMPARE(Desktop::instance().choose(nullptr, u"text"_s, Desktop::Icon::Critical, buttons, u"KLX"_s), 2);
        }
    }

    void longLineKeptWhole()
    {
        const QString line =
            u"SNADNÉ ZADÁVÁNÍ VÝSLEDKŮ NA NUMERICKÉ KLÁVESNICI - dvojtečka = klávesa +, prodl. = klávesa -, "_s;
        int lines = 0;
        whenShown<QMessageBox>([&lines](QMessageBox* box) {
            auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            lines = label->height() / label->fontMetrics().lineSpacing();
            box->buttons().first()->click();
        });
        Desktop::instance().tell(nullptr, line + u"\r\nsamostatné nájezdy = klávesa /"_s);
        QCOMPARE(lines, 2);

        // A short text without an icon is not clipped either.
        int room = 0, need = 0;
        whenShown<QMessageBox>([&](QMessageBox* box) {
            auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            room = label->contentsRect().width() - 2 * label->margin() - std::max(label->indent(), 0);
            need = label->fontMetrics().horizontalAdvance(label->text());
            box->buttons().first()->click();
        });
        Desktop::instance().tell(nullptr, u"není definován"_s);
        QVERIFY2(room >= need, qPrintable(u"%1 < %2"_s.arg(room).arg(need)));
    }

    // A line longer than the screen is wide wraps, and every line of it stays inside the box and the screen.
    void longMessageShownWhole()
    {
        const QString reason = u"Výsledky se nepodařilo uložit.\r\nSoubor „los_%1.txt“ nelze uložit: na disku není "
                               "dost místa.\r\n\r\nProgram zůstává otevřený a zadané výsledky jsou zachovány; "
                               "odstraňte příčinu a zkuste to znovu."_s.arg(QString(120, u'x'));
        QRect label, box, screen;
        int needed = 0;
        whenShown<QMessageBox>([&](QMessageBox* shown) {
            auto* text = shown->findChild<QLabel*>(u"qt_msgbox_label"_s);
            label = QRect(text->mapTo(shown, QPoint(0, 0)), text->size());
            needed = text->hasHeightForWidth() ? text->heightForWidth(text->width()) : text->sizeHint().height();
            box = shown->frameGeometry();
            screen = shown->screen()->availableGeometry();
            shown->buttons().first()->click();
        });
        Desktop::instance().tell(nullptr, reason + QString(60, u' ') + u"konec"_s, Desktop::Icon::Critical);
        QVERIFY2(label.right() < box.width() && needed <= label.height(),
                 qPrintable(u"label %1 wide, %2 of %3 high, box %4"_s.arg(label.right())
                                .arg(label.height())
                                .arg(needed)
                                .arg(box.width())));
        QVERIFY2(screen.contains(box), qPrintable(u"box %1 wide, screen %2"_s.arg(box.width()).arg(screen.width())));
    }

    // The dialog starts in the user's documents, then where he saved last; never in the working folder.
    void pdfFileDialog()
    {
        QTemporaryDir dir;
        const QString chosen = dir.filePath(u"zápasy.pdf"_s);
        QString firstShown, nextShown;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            firstShown = dialog->directory().absolutePath();
            dialog->setDirectory(dir.path());
            dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"zápasy.pdf"_s); // typed by the user
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(Desktop::instance().pdfFileToSave(nullptr, u"Kladno.pdf"_s), chosen);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(firstShown, QFileInfo(documents).isDir() ? QDir(documents).absolutePath() : QDir::homePath());
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            nextShown = dialog->directory().absolutePath();
            dialog->reject();
        });
        QCOMPARE(Desktop::instance().pdfFileToSave(nullptr, u"Kladno.pdf"_s), QString());
        QCOMPARE(nextShown, QDir(dir.path()).absolutePath());
    }

    // The open dialog returns the chosen file and starts where one was chosen last.
    void openFileDialog()
    {
        QTemporaryDir dir;
        const QString chosen = dir.filePath(u"výsledky.csv"_s);
        QFile(chosen).open(QIODevice::WriteOnly);
        QString nextShown;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            dialog->setDirectory(dir.path());
            dialog->selectFile(chosen);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(Desktop::instance().fileToOpen(nullptr, u"Import"_s, u"CSV (*.csv)"_s), chosen);
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            nextShown = dialog->directory().absolutePath();
            dialog->reject();
        });
        QCOMPARE(Desktop::instance().fileToOpen(nullptr, u"Import"_s, u"CSV (*.csv)"_s), QString());
        QCOMPARE(nextShown, QDir(dir.path()).absolutePath());
    }
};

QTEST_MAIN(tst_desktop)
#include "tst_desktop.moc"
