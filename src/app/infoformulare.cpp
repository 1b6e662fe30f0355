#include "infoformulare.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <quorbelversion.h>

namespace quorbel {

namespace {

QPushButton* okButton(QDialog* dialog)
{
    auto* ok = new QPushButton(QStringLiteral("&OK"), dialog);
    ok->setObjectName(QStringLiteral("BitBtn_Ok"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    return ok;
}

QTextBrowser* textView(QDialog* dialog, const QString& name, const QString& accessible, const QString& html)
{
    auto* view = new QTextBrowser(dialog);
    view->setObjectName(name);
    view->setAccessibleName(accessible);
    view->setHtml(html);
    return view;
}

void layOut(QDialog* dialog, QTextBrowser* view, QPushButton* ok)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(view);
    layout->addWidget(ok, 0, Qt::AlignRight);
    dialog->setFixedSize(420, 320);
}

} // namespace

TDankformular::TDankformular(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Dankformular"));
    setWindowTitle(QStringLiteral("Danksagungen"));
    Memo_Dank = textView(this, QStringLiteral("Memo_Dank"), QStringLiteral("Danksagungen"),
                         QStringLiteral("<h3>Vielen Dank</h3>"
                                        "<p>an alle, die Quorbel 98 ausprobiert, Fehler gemeldet und "
                                        "Verbesserungen vorgeschlagen haben.</p>"
                                        "<p>Besonderer Dank gilt den fleißigen Testern der Vorabversionen "
                                        "und allen, die ihre Sammlungen geduldig neu erfasst haben.</p>"));
    BitBtn_Ok = okButton(this);
    layOut(this, Memo_Dank, BitBtn_Ok);
}

THistoryformular::THistoryformular(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Historyformular"));
    setWindowTitle(QStringLiteral("Versionsgeschichte"));
    Memo_History =
        textView(this, QStringLiteral("Memo_History"), QStringLiteral("Versionsgeschichte"),
                 QStringLiteral("<h3>Versionsgeschichte</h3>"
                                "<p><b>" QUORBEL_VERSION " RELEASE</b><br>Mehrere Videolisten in einem "
                                "Verzeichnis, Autostart, Etikettendruck.</p>"
                                "<p><b>0.9.0</b><br>Aufnahmetimer mit Erinnerung, Suche nach "
                                "freiem Platz.</p>"
                                "<p><b>0.8</b><br>Verleihmanager mit Erinnerung an "
                                "überfällige Kassetten.</p>"
                                "<p><b>0.5</b><br>Erste Version: Kassetten und Filme, "
                                "Filmübersicht, Filmliste drucken.</p>"));
    BitBtn_Ok = okButton(this);
    layOut(this, Memo_History, BitBtn_Ok);
}

} // namespace quorbel
