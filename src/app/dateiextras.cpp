#include "dateiextras.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <extras/export.h>
#include <store/collection.h>
#include <store/error.h>
#include <store/umwandlung.h>
#include <ui/busycursor.h>
#include <ui/design.h>
#include <ui/interaction.h>

namespace quorbel {

using namespace design;

TExportformular::TExportformular(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Exportformular"));
    setWindowTitle(QStringLiteral("Exportieren"));
    setAccessibleName(QStringLiteral("Exportieren"));
    setFixedSize(380, 208);
    auto* was = group(this, QStringLiteral("GroupBox_Export"), QStringLiteral("Was soll exportiert werden?"),
                      QRect(12, 10, 356, 110));
    RadioButton_Filmuebersicht =
        named(new QRadioButton(QStringLiteral("Die &Filmübersicht, wie sie angezeigt wird"), was),
              QStringLiteral("RadioButton_Filmuebersicht"), QStringLiteral("Filmübersicht exportieren"),
              QStringLiteral("Eine Datei mit den Filmen in Reihenfolge und Filter der Filmübersicht"));
    RadioButton_Filmuebersicht->setGeometry(14, 28, 330, 24);
    RadioButton_Filmuebersicht->setChecked(true);
    RadioButton_Tabellen =
        named(new QRadioButton(QStringLiteral("&Alle vier Tabellen in ein Verzeichnis"), was),
              QStringLiteral("RadioButton_Tabellen"), QStringLiteral("Alle Tabellen exportieren"),
              QStringLiteral("Kassetten, Filme, Ausleihen und Aufnahmen, je eine Datei"));
    RadioButton_Tabellen->setGeometry(14, 62, 330, 24);
    auto* hinweis = label(this,
                          QStringLiteral("Semikolon-getrennt in UTF-8: deutsche Tabellenkalkulationen "
                                         "öffnen die Dateien direkt."),
                          QRect(12, 124, 356, 34));
    hinweis->setWordWrap(true);
    hinweis->setObjectName(QStringLiteral("Label_ExportFormat"));
    BitBtn_ExportOK = button(this, QStringLiteral("BitBtn_ExportOK"), QStringLiteral("&OK"), QString(),
                             QRect(168, 168, 95, 28));
    BitBtn_ExportAbbruch = button(this, QStringLiteral("BitBtn_ExportAbbruch"), QStringLiteral("&Abbruch"),
                                  QString(), QRect(273, 168, 95, 28));
    BitBtn_ExportOK->setDefault(true);
    connect(BitBtn_ExportOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn_ExportAbbruch, &QPushButton::clicked, this, &QDialog::reject);
}

bool TExportformular::tabellen() const
{
    return RadioButton_Tabellen->isChecked();
}

Dateiextras::Dateiextras(store::Collection& collection, Interaction& ui, QWidget* window)
    : QObject(window), m_collection(collection), m_ui(ui), Exportformular(new TExportformular(window))
{
}

void Dateiextras::Offene_Zeilen_Speichern()
{
    m_collection.filme().checkBrowseMode();
    m_collection.kassetten().checkBrowseMode();
    m_collection.verliehen().checkBrowseMode();
    m_collection.aufnahmetimer().checkBrowseMode();
}

namespace {
QString startVerzeichnis(const store::Collection& c)
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return docs.isEmpty() ? QFileInfo(c.listFilePath()).absolutePath() : docs;
}
} // namespace

void Dateiextras::Exportieren1Click()
{
    Offene_Zeilen_Speichern();
    if (m_ui.exec(*Exportformular) != QDialog::Accepted)
        return;
    extras::Export exporter(m_collection);
    const bool tabellen = Exportformular->tabellen();
    QString ziel;
    if (tabellen) {
        ziel = m_ui.chooseDirectory(QStringLiteral("Verzeichnis für die Tabellen wählen"),
                                    startVerzeichnis(m_collection));
        if (ziel.isEmpty())
            return;
        QStringList vorhanden;
        for (const QString& f : exporter.tabellenDateien(ziel))
            if (QFileInfo::exists(f))
                vorhanden << QFileInfo(f).fileName();
        if (!vorhanden.isEmpty() &&
            !m_ui.askYesNo(QStringLiteral("Im Verzeichnis gibt es schon:") + kMessageBreak +
                           vorhanden.join(kMessageBreak) + kMessageBreak + QStringLiteral("Ersetzen ?")))
            return;
    } else {
        // What the overview would show now: its rows read again, its order, filter and
        // current row kept (as when its page is shown).
        m_collection.filmuebersicht().refresh();
        ziel = m_ui.chooseSaveFile(
            QStringLiteral("CSV-Dateien (*.csv)|*.csv"),
            QDir(startVerzeichnis(m_collection)).filePath(QStringLiteral("filmuebersicht.csv")));
        if (ziel.isEmpty())
            return;
    }

    bool fertig = false;
    {
        BusyCursor busy;
        auto fortschritt =
            m_ui.progress(QStringLiteral("Exportieren"), QStringLiteral("Die Daten werden exportiert..."));
        auto melden = [&fortschritt](qint64 n, qint64 gesamt) { return fortschritt->setValue(n, gesamt); };
        fertig = tabellen ? exporter.tabellen(ziel, melden) : exporter.filmuebersicht(ziel, melden);
    }
    if (!fertig) {
        m_ui.information(QStringLiteral("Der Export wurde abgebrochen; es wurde keine Datei geschrieben."));
        return;
    }
    m_ui.information((tabellen ? QStringLiteral("Die vier Tabellen wurden exportiert nach:")
                               : QStringLiteral("Die Filmübersicht wurde exportiert nach:")) +
                     kMessageBreak + QDir::toNativeSeparators(ziel));
}

void Dateiextras::Sicherung1Click()
{
    Offene_Zeilen_Speichern();
    const QString ziel = m_ui.chooseDirectory(QStringLiteral("Leeres Verzeichnis für die Sicherung wählen"),
                                              startVerzeichnis(m_collection));
    if (ziel.isEmpty())
        return;
    store::Collection::Sicherung s;
    try {
        BusyCursor busy;
        s = m_collection.sicherungErstellen(ziel);
    } catch (const store::Error& e) {
        m_ui.error(QStringLiteral("Die Sicherung konnte nicht erstellt werden; im Verzeichnis blieb nichts "
                                  "von ihr zurück.") +
                   kMessageBreak + e.message());
        return;
    }
    m_ui.information(QStringLiteral("Die Sicherung wurde erstellt:") + kMessageBreak +
                     QDir::toNativeSeparators(s.listFile) + kMessageBreak +
                     QStringLiteral("%1 Kassetten, %2 Filme, %3 Ausleihen, %4 geplante Aufnahmen.")
                         .arg(s.kassetten)
                         .arg(s.filme)
                         .arg(s.verliehen)
                         .arg(s.aufnahmen) +
                     kMessageBreak +
                     QStringLiteral("Die Kopie hat die Integritätsprüfung bestanden und lässt sich als "
                                    "eigene Videoliste öffnen."));
}

void Dateiextras::ParadoxExportieren1Click()
{
    Offene_Zeilen_Speichern();
    const QString ziel = m_ui.chooseDirectory(
        QStringLiteral("Leeres Verzeichnis für die Paradox-Tabellen wählen"), startVerzeichnis(m_collection));
    if (ziel.isEmpty())
        return;
    store::umwandlung::Ausfuhr a;
    try {
        BusyCursor busy;
        auto fortschritt = m_ui.progress(QStringLiteral("Exportieren"),
                                         QStringLiteral("Die Paradox-Tabellen werden geschrieben..."));
        a = store::umwandlung::exportieren(m_collection, ziel, [&fortschritt](qint64 n, qint64 gesamt) {
            return fortschritt->setValue(n, gesamt);
        });
    } catch (const store::Error& e) {
        m_ui.error(
            QStringLiteral("Die Paradox-Tabellen konnten nicht geschrieben werden; im Verzeichnis blieb "
                           "nichts von ihnen zurück.") +
            kMessageBreak + e.message());
        return;
    }
    QString text = QStringLiteral("Die Videoliste wurde als Paradox-Tabellen geschrieben nach:") +
                   kMessageBreak + QDir::toNativeSeparators(ziel) + kMessageBreak +
                   QStringLiteral("%1 Kassetten, %2 Filme, %3 Ausleihen, %4 geplante Aufnahmen.")
                       .arg(a.kassetten)
                       .arg(a.filme)
                       .arg(a.verliehen)
                       .arg(a.aufnahmen);
    if (a.ersetzt > 0)
        text +=
            kMessageBreak + QStringLiteral("%1 Zeichen gibt es im Zeichensatz der Tabellen nicht; sie wurden "
                                           "als '?' geschrieben.")
                                .arg(a.ersetzt);
    m_ui.message({text, a.ersetzt > 0 ? MsgIcon::Warning : MsgIcon::Information, Ok});
}

} // namespace quorbel
