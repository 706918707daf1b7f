// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

// Everything that touches the desktop: message boxes, the browser, the clock, the program folder, the
// beep. Tests install a recording double so that nothing blocks on a dialog or depends on today.
class Desktop {
public:
    enum class Icon { None, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Desktop() = default;
    virtual Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons, const QString& title) = 0;
    // A message with buttons of its own texts; the index of the one pressed. Enter, Escape or the close
    // box choose the last one, so the safe choice goes last.
    virtual int choose(QWidget* parent, const QString& text, Icon icon, const QStringList& buttons,
                       const QString& title) = 0;
    // Hands the address to the browser; false when none took it.
    virtual bool openUrl(const QUrl& url) = 0;
    virtual QDateTime now() const = 0;
    // The folder of souteze/, ad/ and 1.st: beside the program, or the user's data folder when installed.
    virtual QString programFolder() const = 0;
    // Why the user's results cannot be saved in programFolder(), in Czech; empty when they can.
    virtual QString dataFolderProblem() const { return {}; }
    virtual void beep() = 0;
    virtual bool printerInstalled() const = 0;
    // Asks where to save a file, offering the filters ("CSV (*.csv);;…"); a name typed without an
    // extension gets the chosen filter's. Empty when the user cancels.
    virtual QString fileToSave(QWidget* parent, const QString& title, const QString& suggestedName,
                               const QString& filters) = 0;
    QString pdfFileToSave(QWidget* parent, const QString& suggestedName);
    // Asks which existing file to open, offering the filters; empty when the user cancels.
    virtual QString fileToOpen(QWidget* parent, const QString& title, const QString& filters) = 0;

    QDate today() const { return now().date(); }
    // A message box titled "KLX" unless told otherwise.
    Answer tell(QWidget* parent, const QString& text, Icon icon = Icon::None, Buttons buttons = Buttons::Ok);
    // Opens the address in the browser, or says in Czech that none could open it.
    void browse(QWidget* parent, const QUrl& url);

    static Desktop& instance();
    // Replaces the real desktop (nullptr brings it back); the caller keeps ownership.
    static void install(Desktop* desktop);
};

// The hourglass pointer for as long as it lives.
class BusyCursor final {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
