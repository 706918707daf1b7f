// SPDX-License-Identifier: MIT
// rinkomat-cli's command of the data update, answered on the terminal.
#include "desktopside.h"
#include "support.h"

#include "common/programinfo.h"
#include "export/viewtable.h"
#include "online/update.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace cli {

namespace {

// The data update answered from the command line: every status text and message becomes a step.
class CliUpdate final : public UpdateSurroundings {
public:
    CliUpdate(const QUrl& site, bool yes, bool takeServer, const QDateTime& now)
        : m_site(site), m_yes(yes), m_takeServer(takeServer), m_now(now)
    {
    }
    QStringList steps;

private:
    void fetch(const QString& path, int deadlineMs, std::function<void(const FetchResult&)> done) override
    {
        fetchUrl(updateAddress(m_site, path), deadlineMs, std::move(done));
    }
    void status(const QString& text) override { steps << text; }
    void progress(int, int) override {}
    void pause(int, std::function<void()> done) override // nobody watches the steps here
    {
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(done));
    }
    bool askYesNo(const QString& text, bool, const QString&) override
    {
        steps << text;
        return m_yes;
    }
    void tellError(const QString& text, const QString&) override { steps << text; }
    bool takeServerResults(const QStringList& conflicts) override
    {
        steps << conflicts;
        steps << (m_takeServer ? u"převzaty výsledky serveru"_s : u"ponechány vaše výsledky"_s);
        return m_takeServer;
    }
    void openHomePage() override { steps << program::homePage; }
    void beep() override {}
    QDateTime now() const override { return m_now; }

    QUrl m_site;
    bool m_yes;
    bool m_takeServer;
    QDateTime m_now;
};

Output update(const Context& c)
{
    const QUrl site(c.args[0]);
    if (!site.isValid() || site.scheme() != u"http")
        return refused(u"„%1“ není adresa http://…"_s.arg(c.args[0]));
    const QString keep = c.parser->value(u"conflicts"_s);
    if (c.parser->isSet(u"conflicts"_s) && keep != u"mine" && keep != u"server")
        return refused(u"--conflicts: mine nebo server"_s);
    // The folder is checked before the server is asked anything.
    if (!QFileInfo(QDir(c.args[1]).filePath(u"souteze"_s)).isDir())
        return fileFault(
            u"Ve složce „%1“ není složka souteze s ligami; aktualizace nezačala."_s.arg(c.args[1].left(80)));
    // --today names the backups of the replaced files too.
    CliUpdate run(site, c.parser->isSet(u"yes"_s), keep == u"server", QDateTime(c.today, QTime::currentTime()));
    // The update is a job of the event loop, the only one this program runs.
    UpdateJob job(run, nullptr, c.args[1], site.host()); // no league is open here
    std::optional<UpdateOutcome> ended;
    QObject::connect(&job, &UpdateJob::finished, &job, [&ended](UpdateOutcome outcome) {
        ended = outcome;
        QCoreApplication::quit();
    });
    job.start();
    if (!ended)
        QCoreApplication::exec();
    const UpdateOutcome outcome = ended.value_or(UpdateOutcome::Failed);
    QList<QStringList> rows;
    for (const QString& step : run.steps)
        rows.append({step});
    CommandOutput out = plain({{u"steps"_s, toJsonArray(run.steps)}}, rows);
    out.exitCode = outcome == UpdateOutcome::Finished || outcome == UpdateOutcome::NothingToDo ? 0 : 1;
    return out;
}

} // namespace

void addUpdateCommands(std::map<QString, Command>& commands)
{
    commands.insert({
        {u"update"_s,
         {.usage = u"update ADRESA SLOŽKA [--yes] [--conflicts mine|server] [--today D.M.RRRR]"_s,
          .summary = u"aktualizace dat programové složky ze serveru"_s,
          .details = u"  ADRESA       http://… stránky s aktualizacemi\n  SLOŽKA       programová složka (se složkou "
                     u"souteze/)\n"
                     "  --yes        na otázky odpovědět ano (bez ní ne)\n"
                     "  --conflicts  výsledky, které se liší od serveru: mine ponechá vaše (výchozí), server převezme\n"
                     "  --today      den, podle kterého se pojmenují zálohy nahrazených souborů\n\n"
                     "Příklad: rinkomat-cli update http://www.rinkomat.example/ . --yes"_s,
          .minArgs = 2,
          .maxArgs = 2,
          .formats = JsonFormat,
          .options = {u"yes"_s, u"conflicts"_s, u"today"_s},
          .run = update}},
    });
}

} // namespace cli
