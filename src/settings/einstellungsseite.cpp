#include "einstellungsseite.h"

#include "etikettendruckseite.h"
#include "keystore.h"
#include "schriftartenformular.h"
#include "vocabulary.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace settings {

using namespace quorbel::design;

namespace {

// Shows a value the rules hold; the control's own handler does not run for it.
void zeigen(QLineEdit* edit, const QString& text)
{
    if (edit->text() == text)
        return;
    const QSignalBlocker block(edit);
    edit->setText(text);
}

void zeigen(QCheckBox* box, bool an)
{
    const QSignalBlocker block(box);
    box->setChecked(an);
}

} // namespace

Einstellungsseite::Einstellungsseite(quorbel::Interaction& ui, const QString& programDir,
                                     std::unique_ptr<KeyStore> key, std::function<QStringList()> fonts,
                                     QWidget* parent)
    : QWidget(parent), m_ui(ui), m_regeln(ui, programDir, std::move(fonts), std::move(key))
{
    Aufbauen();
    Schriftartenformular = new TSchriftartenformular(this);
    m_etikettendruck = new Etikettendruckseite(ui, m_regeln, Tab_Etikettendruck, this);
    m_regeln.Aenderung_Zeigen = [this](bool geaendert) {
        BitBtn_EinstellungenSpeichern->setEnabled(geaendert);
    };
    Handler_Verbinden();
}

Einstellungsseite::~Einstellungsseite()
{
    m_regeln.Aenderung_Zeigen = nullptr;
    for (QLineEdit* edit : {Edit_TageWarnen, Edit_AufnahmeTageWarnen, Edit_Drucktitel})
        edit->removeEventFilter(this);
}

// --- The fixed design --------------------------------------------------------------------

void Einstellungsseite::Aufbauen()
{
    QWidget* page = this;
    quorbel::design::page(page, QStringLiteral("Tab_Einstellungen"), QStringLiteral("Einstellungen"));
    auto* layout = new QVBoxLayout(page);

    PageControl_Einstellungen = named(new QTabWidget(page), QStringLiteral("PageControl_Einstellungen"),
                                      QStringLiteral("Einstellungen"));
    PageControl_Einstellungen->addTab(Allgemein_Aufbauen(), QStringLiteral("Allgemein"));
    PageControl_Einstellungen->addTab(Allgemein2_Aufbauen(), QStringLiteral("Allgemein 2"));
    PageControl_Einstellungen->addTab(DruckOptionen_Aufbauen(), QStringLiteral("Filmlistenausdruck"));
    Tab_Etikettendruck =
        named(new QWidget, QStringLiteral("Tab_Etikettendruck"), QStringLiteral("Etikettendruck"));
    PageControl_Einstellungen->addTab(Tab_Etikettendruck, QStringLiteral("Etikettendruck"));
    PageControl_Einstellungen->addTab(Editoren_Aufbauen(), QStringLiteral("Genres / Programme"));
    PageControl_Einstellungen->setCurrentWidget(Tab_DruckOptionen);
    // The five captions in the smaller type of the window's own tabs, so that they fit.
    QFont tabFont = PageControl_Einstellungen->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() > 0 ? tabFont.pointSizeF() * 0.85 : 8.0);
    PageControl_Einstellungen->tabBar()->setFont(tabFont);
    layout->addWidget(PageControl_Einstellungen, 1);

    BitBtn_EinstellungenSpeichern = button(page, QStringLiteral("BitBtn_EinstellungenSpeichern"),
                                           QStringLiteral("Einstellungen &speichern"));
    BitBtn_EinstellungenSpeichern->setIcon(page->style()->standardIcon(QStyle::SP_DialogSaveButton));
    BitBtn_EinstellungenSpeichern->setEnabled(false);
    BitBtn_EinstellungenImportieren = button(page, QStringLiteral("BitBtn_EinstellungenImportieren"),
                                             QStringLiteral("Einstellungen &importieren…"));
    BitBtn_EinstellungenImportieren->setIcon(page->style()->standardIcon(QStyle::SP_DialogOpenButton));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(BitBtn_EinstellungenImportieren);
    row->addWidget(BitBtn_EinstellungenSpeichern);
    layout->addLayout(row);

    // The built-in play lengths, never shown.
    Stat_Zeiten = new QListWidget(page);
    Stat_Zeiten->setObjectName(QStringLiteral("Stat_Zeiten"));
    Stat_Zeiten->addItems(vocabulary::builtInPlayLengths());
    Stat_Zeiten->hide();
}

QWidget* Einstellungsseite::Allgemein_Aufbauen()
{
    auto* tab = named(new QWidget, QStringLiteral("Tab_AllgemeineOptionen"), QStringLiteral("Allgemein"));
    Tab_AllgemeineOptionen = tab;

    CheckBox_TipAnzeigen = checkBox(tab, QStringLiteral("CheckBox_TipAnzeigen"),
                                    QStringLiteral("Kasse&tte zur Aufnahme vorschlagen."));
    CheckBox_Nulllaenge =
        checkBox(tab, QStringLiteral("CheckBox_Nulllaenge"),
                 QStringLiteral("&Warnung, wenn mindestens ein Film die Länge 0 Mintuen besitzt."));
    Button_SchriftArtKassettennummer = button(tab, QStringLiteral("Button_SchriftArtKassettennummer"),
                                              QStringLiteral("Schriftart der Kassettennu&mmer"));

    auto* labelTage = new QLabel(QStringLiteral("&Hinweis bei verliehenen Kassetten nach"), tab);
    Edit_TageWarnen = labelledEdit(tab, QStringLiteral("Edit_TageWarnen"), labelTage);
    auto* labelTage2 = new QLabel(QStringLiteral("Tag(en)."), tab);
    auto* labelAufnahme = new QLabel(QStringLiteral("&Erinnerung bei Filmaufnahmen"), tab);
    Edit_AufnahmeTageWarnen = labelledEdit(tab, QStringLiteral("Edit_AufnahmeTageWarnen"), labelAufnahme);
    auto* labelAufnahme2 = new QLabel(QStringLiteral("Tag(e) vor Aufnahmedatum."), tab);
    for (QLineEdit* edit : {Edit_TageWarnen, Edit_AufnahmeTageWarnen}) {
        edit->setMaximumWidth(60);
        edit->installEventFilter(this);
    }

    auto* days = new QGridLayout;
    days->addWidget(labelTage, 0, 0);
    days->addWidget(Edit_TageWarnen, 0, 1);
    days->addWidget(labelTage2, 0, 2);
    days->addWidget(labelAufnahme, 1, 0);
    days->addWidget(Edit_AufnahmeTageWarnen, 1, 1);
    days->addWidget(labelAufnahme2, 1, 2);
    days->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(CheckBox_TipAnzeigen);
    layout->addWidget(CheckBox_Nulllaenge);
    layout->addSpacing(12);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(Button_SchriftArtKassettennummer);
    fontRow->addStretch();
    layout->addLayout(fontRow);
    layout->addSpacing(12);
    layout->addLayout(days);
    layout->addStretch();
    return tab;
}

QWidget* Einstellungsseite::Allgemein2_Aufbauen()
{
    auto* tab = named(new QWidget, QStringLiteral("TabSheet_Allgemein2"), QStringLiteral("Allgemein 2"));
    TabSheet_Allgemein2 = tab;

    auto* lengths = new QGroupBox(QStringLiteral("Zusätzliche Kassettenlängen"), tab);
    lengths->setObjectName(QStringLiteral("GroupBox_Kassettenlaengen"));
    ListBox_Spielzeiten =
        listBox(lengths, QStringLiteral("ListBox_Spielzeiten"), QStringLiteral("Zusätzliche Kassettenlängen"),
                QStringLiteral("Hier stehen alle zusätzlichen Kassettenspielzeiten"));
    BitBtn_ZeitDazu = button(lengths, QStringLiteral("BitBtn_ZeitDazu"), QStringLiteral("Einfügen"),
                             QStringLiteral("Fügt Kassette mit neuer Spielzeit ein"));
    BitBtn_ZeitWeg = button(lengths, QStringLiteral("BitBtn_ZeitWeg"), QStringLiteral("Entfernen"),
                            QStringLiteral("Löscht Kassette mit spezieller Spielzeit"));
    BitBtn_ZeitWeg->setEnabled(false);
    auto* lengthButtons = new QVBoxLayout;
    lengthButtons->addWidget(BitBtn_ZeitDazu);
    lengthButtons->addWidget(BitBtn_ZeitWeg);
    lengthButtons->addStretch();
    auto* lengthLayout = new QHBoxLayout(lengths);
    lengthLayout->addWidget(ListBox_Spielzeiten, 1);
    lengthLayout->addLayout(lengthButtons);

    auto* autostart = new QGroupBox(QStringLiteral("Autostart"), tab);
    autostart->setObjectName(QStringLiteral("GroupBox_Autostart"));
    Edit_Autostart = named(new QLineEdit(kKeinAutostartAnzeige, autostart), QStringLiteral("Edit_Autostart"),
                           QStringLiteral("Autostart"));
    Edit_Autostart->setReadOnly(true);
    QPalette grey = Edit_Autostart->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    Edit_Autostart->setPalette(grey);
    Button_Autostart = button(autostart, QStringLiteral("Button_Autostart"), QStringLiteral("..."),
                              QStringLiteral("Videoliste für den Autostart wählen"),
                              QStringLiteral("Videoliste für den Autostart wählen"));
    BitBtn_KeinAuto =
        button(autostart, QStringLiteral("BitBtn_KeinAuto"), QString(),
               QStringLiteral("Autostart ausschalten"), QStringLiteral("Autostart ausschalten"));
    BitBtn_KeinAuto->setIcon(tab->style()->standardIcon(QStyle::SP_DialogDiscardButton));
    BitBtn_KeinAuto->setEnabled(false);
    auto* autostartLayout = new QHBoxLayout(autostart);
    autostartLayout->addWidget(Edit_Autostart, 1);
    autostartLayout->addWidget(Button_Autostart);
    autostartLayout->addWidget(BitBtn_KeinAuto);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(lengths, 1);
    layout->addWidget(autostart);
    return tab;
}

QWidget* Einstellungsseite::DruckOptionen_Aufbauen()
{
    auto* tab = named(new QWidget, QStringLiteral("Tab_DruckOptionen"), QStringLiteral("Filmlistenausdruck"));
    Tab_DruckOptionen = tab;

    auto* labelTitel = new QLabel(QStringLiteral("&Titel"), tab);
    Edit_Drucktitel = labelledEdit(tab, QStringLiteral("Edit_Drucktitel"), labelTitel);
    Edit_Drucktitel->installEventFilter(this);
    Button_Druckfont = button(tab, QStringLiteral("Button_Druckfont"), QStringLiteral("Schri&ftart..."),
                              QString(), QStringLiteral("Schriftart des Titels"));
    Button_Schriftart_Ueberschriften = button(tab, QStringLiteral("Button_Schriftart_Ueberschriften"),
                                              QStringLiteral("Schriftart der Spalten&überschriften"));
    Button_Schriftart_ListenElemente = button(tab, QStringLiteral("Button_Schriftart_ListenElemente"),
                                              QStringLiteral("Schriftart der &Listenelemente"));
    CheckBox_Nummer =
        checkBox(tab, QStringLiteral("CheckBox_Nummer"), QStringLiteral("Kassettennummer ausdrucken"));
    CheckBox_NummerFett =
        checkBox(tab, QStringLiteral("CheckBox_NummerFett"), QStringLiteral("Kassettennummer fett &drucken"));
    CheckBox_Filmanzahl = checkBox(tab, QStringLiteral("CheckBox_Filmanzahl"),
                                   QStringLiteral("&Anzahl aller Aufnahmen ausdrucken"));
    // The defaults are all "yes".
    for (QCheckBox* box : {CheckBox_TipAnzeigen, CheckBox_Nulllaenge, CheckBox_Nummer, CheckBox_NummerFett,
                           CheckBox_Filmanzahl})
        box->setChecked(true);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(labelTitel);
    titleRow->addWidget(Edit_Drucktitel, 1);
    titleRow->addWidget(Button_Druckfont);
    auto* fonts = new QVBoxLayout;
    fonts->addWidget(Button_Schriftart_Ueberschriften);
    fonts->addWidget(Button_Schriftart_ListenElemente);
    auto* fontRow = new QHBoxLayout;
    fontRow->addLayout(fonts);
    fontRow->addStretch();

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(titleRow);
    layout->addSpacing(12);
    layout->addLayout(fontRow);
    layout->addSpacing(12);
    layout->addWidget(CheckBox_Nummer);
    layout->addWidget(CheckBox_NummerFett);
    layout->addWidget(CheckBox_Filmanzahl);
    layout->addStretch();
    return tab;
}

QWidget* Einstellungsseite::Editoren_Aufbauen()
{
    auto* tab = named(new QWidget, QStringLiteral("Tab_Editoren"), QStringLiteral("Genres / Programme"));
    Tab_Editoren = tab;

    auto* labelGenres = new QLabel(QStringLiteral("Genres"), tab);
    ListBox_Genre = listBox(tab, QStringLiteral("ListBox_Genre"), QStringLiteral("Genres"),
                            QStringLiteral("Liste aller verfügbaren Genres"));
    labelGenres->setBuddy(ListBox_Genre);
    BitBtn_Dazu1 = button(tab, QStringLiteral("BitBtn_Dazu1"), QStringLiteral("Einfügen"),
                          QStringLiteral("Fügt neues Genre ein"), QStringLiteral("Genre einfügen"));
    BitBtn_Weg1 =
        button(tab, QStringLiteral("BitBtn_Weg1"), QStringLiteral("Löschen"),
               QStringLiteral("Löscht markiertes Genre aus der Liste"), QStringLiteral("Genre löschen"));

    auto* labelProgramme = new QLabel(QStringLiteral("Programme"), tab);
    ListBox_Programme = listBox(tab, QStringLiteral("ListBox_Programme"), QStringLiteral("Programme"),
                                QStringLiteral("Liste aller verfügbaren Programme"));
    labelProgramme->setBuddy(ListBox_Programme);
    BitBtn_Dazu2 = button(tab, QStringLiteral("BitBtn_Dazu2"), QStringLiteral("Einfügen"),
                          QStringLiteral("Fügt neuen Sender ein"), QStringLiteral("Sender einfügen"));
    BitBtn_Weg2 = button(tab, QStringLiteral("BitBtn_Weg2"), QStringLiteral("Löschen"),
                         QStringLiteral("Löscht Sender aus der Liste"), QStringLiteral("Sender löschen"));

    auto* grid = new QGridLayout(tab);
    grid->addWidget(labelGenres, 0, 0);
    grid->addWidget(labelProgramme, 0, 1);
    grid->addWidget(ListBox_Genre, 1, 0);
    grid->addWidget(ListBox_Programme, 1, 1);
    auto* genreButtons = new QHBoxLayout;
    genreButtons->addWidget(BitBtn_Dazu1);
    genreButtons->addWidget(BitBtn_Weg1);
    auto* stationButtons = new QHBoxLayout;
    stationButtons->addWidget(BitBtn_Dazu2);
    stationButtons->addWidget(BitBtn_Weg2);
    grid->addLayout(genreButtons, 2, 0);
    grid->addLayout(stationButtons, 2, 1);
    grid->setRowStretch(1, 1);
    return tab;
}

void Einstellungsseite::Handler_Verbinden()
{
    using quorbel::connectGuarded;
    auto click = [this](QPushButton* b, void (Einstellungsseite::*handler)()) {
        connectGuarded(b, &QPushButton::clicked, this, m_ui, [this, handler](bool) { (this->*handler)(); });
    };
    click(BitBtn_Dazu1, &Einstellungsseite::BitBtn_Dazu1Click);
    click(BitBtn_Weg1, &Einstellungsseite::BitBtn_Weg1Click);
    click(BitBtn_Dazu2, &Einstellungsseite::BitBtn_Dazu2Click);
    click(BitBtn_Weg2, &Einstellungsseite::BitBtn_Weg2Click);
    click(BitBtn_ZeitDazu, &Einstellungsseite::BitBtn_ZeitDazuClick);
    click(BitBtn_ZeitWeg, &Einstellungsseite::BitBtn_ZeitWegClick);
    click(BitBtn_EinstellungenSpeichern, &Einstellungsseite::BitBtn_EinstellungenSpeichernClick);
    click(BitBtn_EinstellungenImportieren, &Einstellungsseite::BitBtn_EinstellungenImportierenClick);
    click(Button_SchriftArtKassettennummer, &Einstellungsseite::Button_SchriftArtKassettennummerClick);
    click(Button_Druckfont, &Einstellungsseite::Button_DruckfontClick);
    click(Button_Schriftart_Ueberschriften, &Einstellungsseite::Button_Schriftart_UeberschriftenClick);
    click(Button_Schriftart_ListenElemente, &Einstellungsseite::Button_Schriftart_ListenElementeClick);
    click(Button_Autostart, &Einstellungsseite::Button_AutostartClick);
    click(BitBtn_KeinAuto, &Einstellungsseite::BitBtn_KeinAutoClick);

    auto toggled = [this](QCheckBox* box, void (Einstellungsseite::*handler)()) {
        connectGuarded(box, &QCheckBox::toggled, this, m_ui, [this, handler](bool) { (this->*handler)(); });
    };
    toggled(CheckBox_TipAnzeigen, &Einstellungsseite::CheckBox_TipAnzeigenClick);
    toggled(CheckBox_Nulllaenge, &Einstellungsseite::CheckBox_NulllaengeClick);
    toggled(CheckBox_Nummer, &Einstellungsseite::CheckBox_NummerClick);
    toggled(CheckBox_NummerFett, &Einstellungsseite::CheckBox_NummerFettClick);
    toggled(CheckBox_Filmanzahl, &Einstellungsseite::CheckBox_FilmanzahlClick);

    for (const Feld f : {Feld::TageWarnen, Feld::AufnahmeTageWarnen, Feld::Drucktitel})
        connectGuarded(feld(f), &QLineEdit::textChanged, this, m_ui,
                       [this, f](const QString& text) { m_regeln.Feld_Geaendert(f, text); });
}

bool Einstellungsseite::eventFilter(QObject* watched, QEvent* event)
{
    const bool dayField = watched == Edit_TageWarnen || watched == Edit_AufnahmeTageWarnen;
    if (event->type() == QEvent::KeyPress && dayField) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text.at(0).isPrint() && !Einstellungsregeln::Tageszeichen(text.at(0)))
            return true;
    } else if (event->type() == QEvent::FocusOut && (dayField || watched == Edit_Drucktitel)) {
        // Leaving the field for a context menu or another application is not leaving it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            quorbel::guarded(m_ui, [&] {
                if (watched == Edit_TageWarnen)
                    Edit_TageWarnenExit();
                else if (watched == Edit_AufnahmeTageWarnen)
                    Edit_AufnahmeTageWarnenExit();
                else
                    Edit_DrucktitelExit();
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- Showing what the rules hold -------------------------------------------------------

QListWidget* Einstellungsseite::listenfeld(Liste liste) const
{
    switch (liste) {
    case Liste::Genres:
        return ListBox_Genre;
    case Liste::Sender:
        return ListBox_Programme;
    case Liste::Spielzeiten:
        break;
    }
    return ListBox_Spielzeiten;
}

QPushButton* Einstellungsseite::entfernenKnopf(Liste liste) const
{
    switch (liste) {
    case Liste::Genres:
        return BitBtn_Weg1;
    case Liste::Sender:
        return BitBtn_Weg2;
    case Liste::Spielzeiten:
        break;
    }
    return BitBtn_ZeitWeg;
}

QLineEdit* Einstellungsseite::feld(Feld f) const
{
    switch (f) {
    case Feld::TageWarnen:
        return Edit_TageWarnen;
    case Feld::AufnahmeTageWarnen:
        return Edit_AufnahmeTageWarnen;
    case Feld::Drucktitel:
        break;
    }
    return Edit_Drucktitel;
}

// Tells the window of a list's entries as the film grid, the recording dialog and the
// play-length dialogs take them.
void Einstellungsseite::Listen_Melden(Liste liste)
{
    switch (liste) {
    case Liste::Genres:
        emit genresChanged(m_regeln.genres());
        break;
    case Liste::Sender:
        emit stationsChanged(m_regeln.stations());
        break;
    case Liste::Spielzeiten:
        emit playLengthsChanged(m_regeln.playLengths());
        break;
    }
}

void Einstellungsseite::Felder_Zeigen()
{
    for (const Feld f : {Feld::TageWarnen, Feld::AufnahmeTageWarnen, Feld::Drucktitel})
        zeigen(feld(f), m_regeln.feldtext(f));
}

void Einstellungsseite::Autostart_Zeigen()
{
    Edit_Autostart->setText(m_regeln.autostartAnzeige());
    BitBtn_KeinAuto->setEnabled(m_regeln.autostartGewaehlt());
}

// After loading the key as after an import: the page and everyone who shows a setting
// take the record over.
void Einstellungsseite::Einstellungen_Zeigen()
{
    const Einstellungen& e = einstellungen();
    emit filmListTitleChanged(e.Titel);
    emit filmListTitleFontChanged(e.Titel_Font);
    emit columnHeaderFontChanged(e.Spaltenueberschriften_Font);
    emit listElementFontChanged(e.Listenelemente_Font);
    zeigen(CheckBox_TipAnzeigen, e.Tip_Anzeigen);
    zeigen(CheckBox_Nulllaenge, e.Nulllaengentip);
    zeigen(CheckBox_Nummer, e.Nummer_Drucken);
    zeigen(CheckBox_NummerFett, e.Kassette_Fett_Drucken);
    zeigen(CheckBox_Filmanzahl, e.Anzahl_Der_Filme_Drucken);
    Felder_Zeigen();
    emit kassettennummerFontChanged(e.Kassettennummer_Font);
    Autostart_Zeigen();
    m_etikettendruck->Einstellungen_Zeigen(e);
}

void Einstellungsseite::Felder_Uebernehmen()
{
    bool titel = false;
    {
        const auto danach = qScopeGuard([this] { Felder_Zeigen(); });
        titel = m_regeln.Felder_Uebernehmen();
    }
    if (titel)
        emit filmListTitleChanged(einstellungen().Titel);
}

// --- Vocabulary lists ----------------------------------------------------------------------

void Einstellungsseite::Lade_Genreliste()
{
    const QStringList fuerDasRaster = m_regeln.Lade_Genreliste();
    ListBox_Genre->clear();
    ListBox_Genre->addItems(m_regeln.genres());
    BitBtn_Weg1->setEnabled(ListBox_Genre->count() > 0);
    emit genresChanged(fuerDasRaster);
}

void Einstellungsseite::Lade_Senderliste()
{
    const QStringList fuerDenDialog = m_regeln.Lade_Senderliste();
    ListBox_Programme->clear();
    ListBox_Programme->addItems(m_regeln.stations());
    BitBtn_Weg2->setEnabled(ListBox_Programme->count() > 0);
    emit stationsChanged(fuerDenDialog);
}

void Einstellungsseite::Lade_Spielzeitenliste()
{
    m_regeln.Lade_Spielzeitenliste();
    ListBox_Spielzeiten->clear();
    ListBox_Spielzeiten->addItems(m_regeln.extraPlayLengths());
    BitBtn_ZeitWeg->setEnabled(ListBox_Spielzeiten->count() > 0);
    Listen_Melden(Liste::Spielzeiten);
}

void Einstellungsseite::Setze_Listenmarken_Zurueck()
{
    m_regeln.Setze_Listenmarken_Zurueck();
}

void Einstellungsseite::UpDateSpielzeiten()
{
    m_regeln.UpDateSpielzeiten();
    Listen_Melden(Liste::Spielzeiten);
}

void Einstellungsseite::Eintrag_Einfuegen(Liste liste)
{
    const qsizetype at = m_regeln.Eintrag_Einfuegen(liste);
    if (at < 0)
        return;
    listenfeld(liste)->insertItem(int(at), m_regeln.liste(liste).at(at));
    Listen_Melden(liste);
    entfernenKnopf(liste)->setEnabled(true);
}

void Einstellungsseite::Eintrag_Entfernen(Liste liste)
{
    QListWidget* box = listenfeld(liste);
    const auto selected = box->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = box->row(selected.first());
    if (!m_regeln.Eintrag_Entfernen(liste, row))
        return;
    delete box->takeItem(row);
    // No entry stays marked: a second click removes nothing until the user picks again.
    box->clearSelection();
    entfernenKnopf(liste)->setEnabled(box->count() > 0);
    Listen_Melden(liste);
}

void Einstellungsseite::BitBtn_Dazu1Click()
{
    Eintrag_Einfuegen(Liste::Genres);
}

void Einstellungsseite::BitBtn_Weg1Click()
{
    Eintrag_Entfernen(Liste::Genres);
}

void Einstellungsseite::BitBtn_Dazu2Click()
{
    Eintrag_Einfuegen(Liste::Sender);
}

void Einstellungsseite::BitBtn_Weg2Click()
{
    Eintrag_Entfernen(Liste::Sender);
}

void Einstellungsseite::BitBtn_ZeitDazuClick()
{
    Eintrag_Einfuegen(Liste::Spielzeiten);
}

void Einstellungsseite::BitBtn_ZeitWegClick()
{
    Eintrag_Entfernen(Liste::Spielzeiten);
}

// --- Settings key -----------------------------------------------------------------------

void Einstellungsseite::Registry_Auslesen()
{
    m_regeln.Registry_Auslesen();
    Einstellungen_Zeigen();
}

void Einstellungsseite::Speichere_Registry()
{
    Felder_Uebernehmen();
    m_regeln.Speichere_Registry();
}

void Einstellungsseite::Einstellungen_Sichern_Ein()
{
    m_regeln.Einstellungen_Sichern_Ein();
}

void Einstellungsseite::BitBtn_EinstellungenSpeichernClick()
{
    Speichere_Registry();
}

void Einstellungsseite::BitBtn_EinstellungenImportierenClick()
{
    Einstellungsregeln::Importergebnis ergebnis;
    {
        // A day field refused on the way still shows what the rules made of the others.
        const auto danach = qScopeGuard([this] { Felder_Zeigen(); });
        ergebnis = m_regeln.Importieren();
    }
    if (ergebnis.uebernommen)
        Einstellungen_Zeigen();
    if (!ergebnis.bericht.isEmpty())
        m_ui.information(ergebnis.bericht);
}

// --- The page's controls ---------------------------------------------------------------------

void Einstellungsseite::Schalter_Geklickt(Schalter schalter, QCheckBox* box)
{
    m_regeln.Schalter_Setzen(schalter, box->isChecked());
    // The bold print follows the cassette number.
    zeigen(CheckBox_NummerFett, einstellungen().Kassette_Fett_Drucken);
}

void Einstellungsseite::CheckBox_TipAnzeigenClick()
{
    Schalter_Geklickt(Schalter::TipAnzeigen, CheckBox_TipAnzeigen);
}

void Einstellungsseite::CheckBox_NulllaengeClick()
{
    Schalter_Geklickt(Schalter::Nulllaenge, CheckBox_Nulllaenge);
}

void Einstellungsseite::CheckBox_NummerClick()
{
    Schalter_Geklickt(Schalter::Nummer, CheckBox_Nummer);
}

void Einstellungsseite::CheckBox_NummerFettClick()
{
    Schalter_Geklickt(Schalter::NummerFett, CheckBox_NummerFett);
}

void Einstellungsseite::CheckBox_FilmanzahlClick()
{
    Schalter_Geklickt(Schalter::Filmanzahl, CheckBox_Filmanzahl);
}

void Einstellungsseite::Feld_Verlassen(Feld f)
{
    m_regeln.Feld_Verlassen(f);
    zeigen(feld(f), m_regeln.feldtext(f));
}

void Einstellungsseite::Edit_TageWarnenExit()
{
    Feld_Verlassen(Feld::TageWarnen);
}

void Einstellungsseite::Edit_AufnahmeTageWarnenExit()
{
    Feld_Verlassen(Feld::AufnahmeTageWarnen);
}

void Einstellungsseite::Edit_DrucktitelExit()
{
    Feld_Verlassen(Feld::Drucktitel);
    emit filmListTitleChanged(einstellungen().Titel);
}

void Einstellungsseite::Schrift_Melden(Schrift schrift)
{
    const QString& face = m_regeln.schriftart(schrift);
    switch (schrift) {
    case Schrift::Kassettennummer:
        emit kassettennummerFontChanged(face);
        break;
    case Schrift::Titel:
        emit filmListTitleFontChanged(face);
        break;
    case Schrift::Spaltenueberschriften:
        emit columnHeaderFontChanged(face);
        break;
    case Schrift::Listenelemente:
        emit listElementFontChanged(face);
        break;
    }
}

void Einstellungsseite::Schriftart_Waehlen(Schrift schrift)
{
    Schriftartenformular->setzeSchriftarten(m_regeln.installierteSchriftarten());
    Schriftartenformular->waehleSchriftart(m_regeln.schriftart(schrift));
    Schriftartenformular->FormActivate();
    if (m_ui.exec(*Schriftartenformular) != QDialog::Accepted)
        return;
    if (m_regeln.Schriftart_Setzen(schrift, Schriftartenformular->gewaehlteSchriftart()))
        Schrift_Melden(schrift);
}

void Einstellungsseite::Button_SchriftArtKassettennummerClick()
{
    Schriftart_Waehlen(Schrift::Kassettennummer);
}

void Einstellungsseite::Button_DruckfontClick()
{
    Schriftart_Waehlen(Schrift::Titel);
}

void Einstellungsseite::Button_Schriftart_UeberschriftenClick()
{
    Schriftart_Waehlen(Schrift::Spaltenueberschriften);
}

void Einstellungsseite::Button_Schriftart_ListenElementeClick()
{
    Schriftart_Waehlen(Schrift::Listenelemente);
}

void Einstellungsseite::Button_AutostartClick()
{
    if (m_regeln.Autostart_Waehlen())
        Autostart_Zeigen();
}

void Einstellungsseite::BitBtn_KeinAutoClick()
{
    m_regeln.Kein_Autostart();
    Autostart_Zeigen();
}

} // namespace settings
