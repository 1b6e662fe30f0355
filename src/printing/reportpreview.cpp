#include "reportpreview.h"

#include "reportlayout.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <ui/busycursor.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/interaction.h>
#include <ui/protokoll.h>

namespace quorbel {

namespace {

QToolButton* knopf(QWidget* eltern, const char* name, const QString& text, const QString& zugang)
{
    auto* b = new QToolButton(eltern);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setAccessibleName(zugang);
    b->setToolTip(zugang);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

// The page the reports are laid out for, on the printer too: A4 portrait, positions
// from the paper's corner.
void a4Einstellen(QPrinter& p)
{
    p.setFullPage(true);
    p.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
}

} // namespace

ReportPreview::ReportPreview(Interaction& interaction, report::Seitenfolge folge, const QString& titel,
                             QWidget* parent)
    : QDialog(parent), m_interaction(interaction), m_folge(std::move(folge)), m_titel(titel),
      m_drucker(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("Seitenansicht - %1").arg(titel));
    setAccessibleName(QStringLiteral("Seitenansicht"));
    setModal(true);
    a4Einstellen(*m_drucker);
    m_drucker->setDocName(titel);

    auto* leiste = new QWidget(this);
    leiste->setObjectName(QStringLiteral("Panel_Werkzeuge"));
    leiste->setAccessibleName(QStringLiteral("Werkzeugleiste"));
    auto* zeile = new QHBoxLayout(leiste);
    zeile->setContentsMargins(0, 0, 0, 0);
    QToolButton* drucken =
        knopf(leiste, "Button_Drucken", QStringLiteral("&Drucken…"), QStringLiteral("Drucken"));
    QToolButton* einrichten = knopf(leiste, "Button_Seite_Einrichten", QStringLiteral("Seite &einrichten…"),
                                    QStringLiteral("Seite einrichten"));
    QToolButton* pdf = knopf(leiste, "Button_Als_Pdf_Speichern", QStringLiteral("Als &PDF speichern…"),
                             QStringLiteral("Als PDF speichern"));
    QToolButton* erste =
        knopf(leiste, "Button_Erste_Seite", QStringLiteral("|<"), QStringLiteral("Erste Seite"));
    QToolButton* vorige =
        knopf(leiste, "Button_Vorige_Seite", QStringLiteral("<"), QStringLiteral("Vorige Seite"));
    m_seite = new QLabel(leiste);
    m_seite->setObjectName(QStringLiteral("Label_Seite"));
    m_seite->setAccessibleName(QStringLiteral("Seitenzahl"));
    QToolButton* naechste =
        knopf(leiste, "Button_Naechste_Seite", QStringLiteral(">"), QStringLiteral("Nächste Seite"));
    QToolButton* letzte =
        knopf(leiste, "Button_Letzte_Seite", QStringLiteral(">|"), QStringLiteral("Letzte Seite"));
    QToolButton* groesser =
        knopf(leiste, "Button_Vergroessern", QStringLiteral("+"), QStringLiteral("Vergrößern"));
    QToolButton* kleiner =
        knopf(leiste, "Button_Verkleinern", QStringLiteral("−"), QStringLiteral("Verkleinern"));
    QToolButton* ganz =
        knopf(leiste, "Button_Ganze_Seite", QStringLiteral("Ganze Seite"), QStringLiteral("Ganze Seite"));
    QToolButton* schliessen =
        knopf(leiste, "Button_Schliessen", QStringLiteral("&Schließen"), QStringLiteral("Schließen"));
    for (QWidget* w :
         {static_cast<QWidget*>(drucken), static_cast<QWidget*>(einrichten), static_cast<QWidget*>(pdf),
          static_cast<QWidget*>(erste), static_cast<QWidget*>(vorige), static_cast<QWidget*>(m_seite),
          static_cast<QWidget*>(naechste), static_cast<QWidget*>(letzte), static_cast<QWidget*>(groesser),
          static_cast<QWidget*>(kleiner), static_cast<QWidget*>(ganz)})
        zeile->addWidget(w);
    zeile->addStretch(1);
    zeile->addWidget(schliessen);

    m_vorschau = new QPrintPreviewWidget(m_drucker.get(), this);
    m_vorschau->setObjectName(QStringLiteral("Vorschau"));
    m_vorschau->setAccessibleName(QStringLiteral("Seitenvorschau"));
    connect(m_vorschau, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) {
        guarded(m_interaction, [&] {
            BusyCursor warten;
            report::seitenDrucken(*p, m_folge);
        });
    });
    connect(m_vorschau, &QPrintPreviewWidget::previewChanged, this,
            &ReportPreview::Seitenanzeige_Aktualisieren);

    auto* spalte = new QVBoxLayout(this);
    spalte->addWidget(leiste);
    spalte->addWidget(m_vorschau, 1);

    // A report without pages is neither printed nor saved (the printer would put out
    // a blank sheet).
    drucken->setEnabled(m_folge.anzahl > 0);
    pdf->setEnabled(m_folge.anzahl > 0);
    connectGuarded(drucken, &QToolButton::clicked, this, m_interaction, [this](bool) { Drucken(); });
    connectGuarded(einrichten, &QToolButton::clicked, this, m_interaction,
                   [this](bool) { Seite_Einrichten(); });
    connectGuarded(pdf, &QToolButton::clicked, this, m_interaction, [this](bool) { Als_Pdf_Speichern(); });
    // Moving between pages; the read-out follows.
    const auto blaettern = [this](QToolButton* knopf, auto ziel) {
        connect(knopf, &QToolButton::clicked, m_vorschau, [this, ziel] {
            m_vorschau->setCurrentPage(std::clamp(ziel(), 1, std::max(1, m_vorschau->pageCount())));
            Seitenanzeige_Aktualisieren();
        });
    };
    blaettern(erste, [] { return 1; });
    blaettern(vorige, [this] { return m_vorschau->currentPage() - 1; });
    blaettern(naechste, [this] { return m_vorschau->currentPage() + 1; });
    blaettern(letzte, [this] { return m_vorschau->pageCount(); });
    connect(groesser, &QToolButton::clicked, m_vorschau, [this] { m_vorschau->zoomIn(); });
    connect(kleiner, &QToolButton::clicked, m_vorschau, [this] { m_vorschau->zoomOut(); });
    connect(ganz, &QToolButton::clicked, m_vorschau, &QPrintPreviewWidget::fitInView);
    connect(schliessen, &QToolButton::clicked, this, &QDialog::reject);

    resize(900, 1000);
}

ReportPreview::~ReportPreview() = default;

bool ReportPreview::ohneSeiten()
{
    if (m_folge.anzahl > 0)
        return false;
    m_interaction.information(QStringLiteral("Der Bericht hat keine Seiten."));
    return true;
}

void ReportPreview::Seitenanzeige_Aktualisieren()
{
    design::anzeigen(
        m_seite,
        QStringLiteral("Seite %1 von %2").arg(m_vorschau->currentPage()).arg(m_vorschau->pageCount()));
}

void ReportPreview::Drucken()
{
    if (ohneSeiten())
        return;
    QPrintDialog dialog(m_drucker.get(), this);
    dialog.setObjectName(QStringLiteral("Druckdialog"));
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    dialog.setMinMax(1, std::max(1, m_folge.anzahl));
    if (m_interaction.exec(dialog) != QDialog::Accepted)
        return;
    int von = 0;
    int bis = -1;
    if (m_drucker->printRange() == QPrinter::PageRange && m_drucker->fromPage() > 0) {
        von = m_drucker->fromPage() - 1;
        bis = m_drucker->toPage() - 1;
    }
    bool gedruckt = false;
    {
        BusyCursor warten;
        a4Einstellen(*m_drucker);
        gedruckt = report::seitenDrucken(*m_drucker, m_folge, von, bis);
    }
    if (!gedruckt) {
        qCWarning(lcPrinting).noquote() << "Druck nicht gestartet auf" << m_drucker->printerName();
        m_interaction.error(QStringLiteral("Der Druck konnte nicht gestartet werden."));
    }
}

void ReportPreview::Seite_Einrichten()
{
    QPageSetupDialog dialog(m_drucker.get(), this);
    dialog.setObjectName(QStringLiteral("Seiteneinrichtung"));
    dialog.setWindowTitle(QStringLiteral("Seite einrichten"));
    if (m_interaction.exec(dialog) != QDialog::Accepted)
        return;
    // The reports are laid out for A4 portrait; the printer and its tray stay chosen.
    a4Einstellen(*m_drucker);
    m_vorschau->updatePreview();
}

void ReportPreview::Als_Pdf_Speichern()
{
    if (ohneSeiten())
        return;
    QString vorschlag = m_titel;
    vorschlag.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|])")), QStringLiteral("_"));
    const QString ordner = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString datei =
        m_interaction.chooseSaveFile(QStringLiteral("PDF-Dateien (*.pdf)|*.pdf"),
                                     QDir(ordner).filePath(vorschlag + QStringLiteral(".pdf")));
    if (datei.isEmpty())
        return;
    QString fehler;
    {
        BusyCursor warten;
        fehler = report::alsPdfSpeichern(m_folge, datei, m_titel);
    }
    if (!fehler.isEmpty())
        m_interaction.error(fehler);
}

void vorschauZeigen(Interaction& interaction, report::Seitenfolge folge, const QString& titel,
                    QWidget* parent)
{
    ReportPreview vorschau(interaction, std::move(folge), titel, parent);
    interaction.exec(vorschau);
}

} // namespace quorbel
