// SPDX-License-Identifier: MIT
#include "frm1ST.h"

#include "common/fit.h"
#include "platform/desktop.h"
#include "startup/frmSUB.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString markerPath()
{
    return QDir(Desktop::instance().programFolder()).filePath(u"1.st"_s);
}

} // namespace

void frm1ST::start()
{
    if (QFile::exists(markerPath()))
        showActive(new frm1ST);
    else
        frmSUB::start();
}

frm1ST::frm1ST()
{
    setObjectName(u"frm1ST"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(u"Rinkomat - 1. spuštění"_s);
    auto* layout = new QVBoxLayout(this);
    const QDateTime now = Desktop::instance().now();
    const QStringList texts = {
        u"Vítejte v programu!"_s,
        u"Než bude program poprvé spuštěn, vezměte prosím na vědomí následující:"_s,
        u"Je doporučeno mít nastaven správný systémový čas."_s,
        u"Současné údaje:  "_s + now.toString(u"d. M. yyyy"_s) + u"  "_s + now.toString(u"hh:mm"_s),
        u"Nezapomeňte co nejdříve zvolit položku 'Aktualizace dat', abyste doplnili výsledky utkání, které byly "
        "odehrány po zveřejnění programu."_s,
        u"Několik užitečných tipů najdete v menu pod stejnojmennou položkou."_s,
        u"Utkání rozhodnutá v prodloužení nebo v samostatných nájezdech se označují písmeny \"p\" resp. \"n\". "
        "Např.: 5:4p, 2:1n apod."_s,
        u"V tabulkách a statistikách se však toto nerozlišuje a obě možnosti se považují za výhru či prohru "
        "v prodloužení bez ohledu na to, kdy bylo rozhodnuto."_s,
    };
    const char* names[] = {"Label2", "Label1", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8"};
    for (int i = 0; i < texts.size(); ++i) {
        auto* l = new QLabel(texts[i], this);
        l->setObjectName(QString::fromLatin1(names[i]));
        l->setWordWrap(true);
        if (i == 0) {
            QFont f = l->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.4);
            l->setFont(f);
        }
        layout->addWidget(l);
    }
    Command1 = new QPushButton(u"Pokračovat"_s, this);
    Command1->setObjectName(u"Command1"_s);
    Command1->setDefault(true);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    setFixedWidth(520);
    connect(Command1, &QPushButton::clicked, this, &frm1ST::onContinue);
}

void frm1ST::onContinue()
{
    QFile::remove(markerPath());
    frmSUB::start();
    close();
}
