#include "settingscontroller.h"

#include "ganzzahl.h"
#include "registryimport.h"
#include "schriftartenformular.h"
#include "vocabulary.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <ui/guard.h>
#include <ui/protokoll.h>

namespace settings {

namespace {

QString plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& hint = {}, const QString& accessibleName = {})
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName.isEmpty() ? plain(caption) : accessibleName);
    if (!hint.isEmpty()) {
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
    return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const QString& name, const QString& caption)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(plain(caption));
    box->setChecked(true); // the defaults are all "yes"
    return box;
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, QLabel* label)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (label) {
        label->setBuddy(edit);
        edit->setAccessibleName(plain(label->text()));
    }
    return edit;
}

QListWidget* makeList(QWidget* parent, const QString& name, const QString& hint,
                      const QString& accessibleName)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setToolTip(hint);
    list->setAccessibleName(accessibleName);
    list->setAccessibleDescription(hint);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

const QString kPlayLengthPrefix = QStringLiteral("E - ");

} // namespace

QString notAnInteger(const QString& text)
{
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
}

QString notADayCount(const QString& text)
{
    return QStringLiteral("'%1' liegt nicht zwischen 0 und %2 Tagen").arg(text).arg(kHoechsteTage);
}

// A whole number as the play-length check and the day fields take it: decimal digits with
// an optional minus sign, within 32 bits.
bool toWholeNumber(const QString& text, qint32* value)
{
    static const QString allowed = QStringLiteral("0123456789");
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() <= start)
        return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (!allowed.contains(text.at(i)))
            return false;
    bool ok = false;
    const int number = text.toInt(&ok, 10);
    if (ok && value)
        *value = number;
    return ok;
}

SettingsController::SettingsController(quorbel::Interaction& ui, QString programDir, QWidget* page,
                                       FontList fonts, std::unique_ptr<KeyStore> store, QObject* parent)
    : QObject(parent), m_ui(ui), m_programDir(std::move(programDir)), m_fonts(std::move(fonts)),
      m_store(store ? std::move(store) : KeyStore::createDefault())
{
    if (!m_fonts)
        m_fonts = [] { return QFontDatabase::families(); };
    Q_ASSERT(page);
    buildPage(page);
    Schriftartenformular = new TSchriftartenformular(page);
    connectHandlers();
    m_playLengths = vocabulary::builtInPlayLengths();
    vocabulary::sortEntries(m_playLengths);
}

SettingsController::~SettingsController() = default;

// --- Building the page ---------------------------------------------------------------

void SettingsController::buildPage(QWidget* page)
{
    auto* layout = qobject_cast<QBoxLayout*>(page->layout());
    if (!layout)
        layout = new QVBoxLayout(page);

    PageControl_Einstellungen = new QTabWidget(page);
    PageControl_Einstellungen->setObjectName(QStringLiteral("PageControl_Einstellungen"));
    PageControl_Einstellungen->setAccessibleName(QStringLiteral("Einstellungen"));
    PageControl_Einstellungen->addTab(buildAllgemein(), QStringLiteral("Allgemein"));
    PageControl_Einstellungen->addTab(buildAllgemein2(), QStringLiteral("Allgemein 2"));
    PageControl_Einstellungen->addTab(buildDruckOptionen(), QStringLiteral("Filmlistenausdruck"));
    Tab_Etikettendruck = new QWidget;
    Tab_Etikettendruck->setObjectName(QStringLiteral("Tab_Etikettendruck"));
    Tab_Etikettendruck->setAccessibleName(QStringLiteral("Etikettendruck"));
    PageControl_Einstellungen->addTab(Tab_Etikettendruck, QStringLiteral("Etikettendruck"));
    PageControl_Einstellungen->addTab(buildEditoren(), QStringLiteral("Genres / Programme"));
    PageControl_Einstellungen->setCurrentWidget(Tab_DruckOptionen);
    // The five captions in the smaller type of the window's own tabs, so that they fit.
    QFont tabFont = PageControl_Einstellungen->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() > 0 ? tabFont.pointSizeF() * 0.85 : 8.0);
    PageControl_Einstellungen->tabBar()->setFont(tabFont);
    layout->addWidget(PageControl_Einstellungen, 1);

    BitBtn_EinstellungenSpeichern = makeButton(page, QStringLiteral("BitBtn_EinstellungenSpeichern"),
                                               QStringLiteral("Einstellungen &speichern"));
    BitBtn_EinstellungenSpeichern->setIcon(page->style()->standardIcon(QStyle::SP_DialogSaveButton));
    BitBtn_EinstellungenSpeichern->setEnabled(false);
    BitBtn_EinstellungenImportieren = makeButton(page, QStringLiteral("BitBtn_EinstellungenImportieren"),
                                                 QStringLiteral("Einstellungen &importieren…"));
    BitBtn_EinstellungenImportieren->setIcon(page->style()->standardIcon(QStyle::SP_DialogOpenButton));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(BitBtn_EinstellungenImportieren);
    row->addWidget(BitBtn_EinstellungenSpeichern);
    layout->addLayout(row);

    Stat_Zeiten = new QListWidget(page);
    Stat_Zeiten->setObjectName(QStringLiteral("Stat_Zeiten"));
    Stat_Zeiten->addItems(vocabulary::builtInPlayLengths());
    Stat_Zeiten->hide();
}

QWidget* SettingsController::buildAllgemein()
{
    auto* tab = new QWidget;
    Tab_AllgemeineOptionen = tab;
    tab->setObjectName(QStringLiteral("Tab_AllgemeineOptionen"));
    tab->setAccessibleName(QStringLiteral("Allgemein"));

    CheckBox_TipAnzeigen = makeCheckBox(tab, QStringLiteral("CheckBox_TipAnzeigen"),
                                        QStringLiteral("Kasse&tte zur Aufnahme vorschlagen."));
    CheckBox_Nulllaenge =
        makeCheckBox(tab, QStringLiteral("CheckBox_Nulllaenge"),
                     QStringLiteral("&Warnung, wenn mindestens ein Film die Länge 0 Mintuen besitzt."));
    Button_SchriftArtKassettennummer = makeButton(tab, QStringLiteral("Button_SchriftArtKassettennummer"),
                                                  QStringLiteral("Schriftart der Kassettennu&mmer"));

    auto* labelTage = new QLabel(QStringLiteral("&Hinweis bei verliehenen Kassetten nach"), tab);
    Edit_TageWarnen = makeEdit(tab, QStringLiteral("Edit_TageWarnen"), labelTage);
    auto* labelTage2 = new QLabel(QStringLiteral("Tag(en)."), tab);
    auto* labelAufnahme = new QLabel(QStringLiteral("&Erinnerung bei Filmaufnahmen"), tab);
    Edit_AufnahmeTageWarnen = makeEdit(tab, QStringLiteral("Edit_AufnahmeTageWarnen"), labelAufnahme);
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

QWidget* SettingsController::buildAllgemein2()
{
    auto* tab = new QWidget;
    TabSheet_Allgemein2 = tab;
    tab->setObjectName(QStringLiteral("TabSheet_Allgemein2"));
    tab->setAccessibleName(QStringLiteral("Allgemein 2"));

    auto* lengths = new QGroupBox(QStringLiteral("Zusätzliche Kassettenlängen"), tab);
    lengths->setObjectName(QStringLiteral("GroupBox_Kassettenlaengen"));
    ListBox_Spielzeiten = makeList(lengths, QStringLiteral("ListBox_Spielzeiten"),
                                   QStringLiteral("Hier stehen alle zusätzlichen Kassettenspielzeiten"),
                                   QStringLiteral("Zusätzliche Kassettenlängen"));
    BitBtn_ZeitDazu = makeButton(lengths, QStringLiteral("BitBtn_ZeitDazu"), QStringLiteral("Einfügen"),
                                 QStringLiteral("Fügt Kassette mit neuer Spielzeit ein"));
    BitBtn_ZeitWeg = makeButton(lengths, QStringLiteral("BitBtn_ZeitWeg"), QStringLiteral("Entfernen"),
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
    Edit_Autostart = new QLineEdit(kKeinAutostartAnzeige, autostart);
    Edit_Autostart->setObjectName(QStringLiteral("Edit_Autostart"));
    Edit_Autostart->setAccessibleName(QStringLiteral("Autostart"));
    Edit_Autostart->setReadOnly(true);
    QPalette grey = Edit_Autostart->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Button));
    Edit_Autostart->setPalette(grey);
    Button_Autostart = makeButton(autostart, QStringLiteral("Button_Autostart"), QStringLiteral("..."),
                                  QStringLiteral("Videoliste für den Autostart wählen"),
                                  QStringLiteral("Videoliste für den Autostart wählen"));
    BitBtn_KeinAuto =
        makeButton(autostart, QStringLiteral("BitBtn_KeinAuto"), QString(),
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

QWidget* SettingsController::buildDruckOptionen()
{
    auto* tab = new QWidget;
    Tab_DruckOptionen = tab;
    tab->setObjectName(QStringLiteral("Tab_DruckOptionen"));
    tab->setAccessibleName(QStringLiteral("Filmlistenausdruck"));

    auto* labelTitel = new QLabel(QStringLiteral("&Titel"), tab);
    Edit_Drucktitel = makeEdit(tab, QStringLiteral("Edit_Drucktitel"), labelTitel);
    Edit_Drucktitel->installEventFilter(this);
    Button_Druckfont = makeButton(tab, QStringLiteral("Button_Druckfont"), QStringLiteral("Schri&ftart..."),
                                  {}, QStringLiteral("Schriftart des Titels"));
    Button_Schriftart_Ueberschriften = makeButton(tab, QStringLiteral("Button_Schriftart_Ueberschriften"),
                                                  QStringLiteral("Schriftart der Spalten&überschriften"));
    Button_Schriftart_ListenElemente = makeButton(tab, QStringLiteral("Button_Schriftart_ListenElemente"),
                                                  QStringLiteral("Schriftart der &Listenelemente"));
    CheckBox_Nummer =
        makeCheckBox(tab, QStringLiteral("CheckBox_Nummer"), QStringLiteral("Kassettennummer ausdrucken"));
    CheckBox_NummerFett = makeCheckBox(tab, QStringLiteral("CheckBox_NummerFett"),
                                       QStringLiteral("Kassettennummer fett &drucken"));
    CheckBox_Filmanzahl = makeCheckBox(tab, QStringLiteral("CheckBox_Filmanzahl"),
                                       QStringLiteral("&Anzahl aller Aufnahmen ausdrucken"));

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

QWidget* SettingsController::buildEditoren()
{
    auto* tab = new QWidget;
    Tab_Editoren = tab;
    tab->setObjectName(QStringLiteral("Tab_Editoren"));
    tab->setAccessibleName(QStringLiteral("Genres / Programme"));

    auto* labelGenres = new QLabel(QStringLiteral("Genres"), tab);
    ListBox_Genre = makeList(tab, QStringLiteral("ListBox_Genre"),
                             QStringLiteral("Liste aller verfügbaren Genres"), QStringLiteral("Genres"));
    labelGenres->setBuddy(ListBox_Genre);
    BitBtn_Dazu1 = makeButton(tab, QStringLiteral("BitBtn_Dazu1"), QStringLiteral("Einfügen"),
                              QStringLiteral("Fügt neues Genre ein"), QStringLiteral("Genre einfügen"));
    BitBtn_Weg1 =
        makeButton(tab, QStringLiteral("BitBtn_Weg1"), QStringLiteral("Löschen"),
                   QStringLiteral("Löscht markiertes Genre aus der Liste"), QStringLiteral("Genre löschen"));

    auto* labelProgramme = new QLabel(QStringLiteral("Programme"), tab);
    ListBox_Programme =
        makeList(tab, QStringLiteral("ListBox_Programme"),
                 QStringLiteral("Liste aller verfügbaren Programme"), QStringLiteral("Programme"));
    labelProgramme->setBuddy(ListBox_Programme);
    BitBtn_Dazu2 = makeButton(tab, QStringLiteral("BitBtn_Dazu2"), QStringLiteral("Einfügen"),
                              QStringLiteral("Fügt neuen Sender ein"), QStringLiteral("Sender einfügen"));
    BitBtn_Weg2 = makeButton(tab, QStringLiteral("BitBtn_Weg2"), QStringLiteral("Löschen"),
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

void SettingsController::connectHandlers()
{
    using quorbel::connectGuarded;
    auto click = [this](QPushButton* button, void (SettingsController::*handler)()) {
        connectGuarded(button, &QPushButton::clicked, this, m_ui,
                       [this, handler](bool) { (this->*handler)(); });
    };
    click(BitBtn_Dazu1, &SettingsController::BitBtn_Dazu1Click);
    click(BitBtn_Weg1, &SettingsController::BitBtn_Weg1Click);
    click(BitBtn_Dazu2, &SettingsController::BitBtn_Dazu2Click);
    click(BitBtn_Weg2, &SettingsController::BitBtn_Weg2Click);
    click(BitBtn_ZeitDazu, &SettingsController::BitBtn_ZeitDazuClick);
    click(BitBtn_ZeitWeg, &SettingsController::BitBtn_ZeitWegClick);
    click(BitBtn_EinstellungenSpeichern, &SettingsController::BitBtn_EinstellungenSpeichernClick);
    click(BitBtn_EinstellungenImportieren, &SettingsController::BitBtn_EinstellungenImportierenClick);
    click(Button_SchriftArtKassettennummer, &SettingsController::Button_SchriftArtKassettennummerClick);
    click(Button_Druckfont, &SettingsController::Button_DruckfontClick);
    click(Button_Schriftart_Ueberschriften, &SettingsController::Button_Schriftart_UeberschriftenClick);
    click(Button_Schriftart_ListenElemente, &SettingsController::Button_Schriftart_ListenElementeClick);
    click(Button_Autostart, &SettingsController::Button_AutostartClick);
    click(BitBtn_KeinAuto, &SettingsController::BitBtn_KeinAutoClick);

    auto toggled = [this](QCheckBox* box, void (SettingsController::*handler)()) {
        connectGuarded(box, &QCheckBox::toggled, this, m_ui, [this, handler](bool) { (this->*handler)(); });
    };
    toggled(CheckBox_TipAnzeigen, &SettingsController::CheckBox_TipAnzeigenClick);
    toggled(CheckBox_Nulllaenge, &SettingsController::CheckBox_NulllaengeClick);
    toggled(CheckBox_Nummer, &SettingsController::CheckBox_NummerClick);
    toggled(CheckBox_NummerFett, &SettingsController::CheckBox_NummerFettClick);
    toggled(CheckBox_Filmanzahl, &SettingsController::CheckBox_FilmanzahlClick);

    auto changed = [this](QLineEdit* edit, void (SettingsController::*handler)()) {
        connectGuarded(edit, &QLineEdit::textChanged, this, m_ui,
                       [this, handler](const QString&) { (this->*handler)(); });
    };
    changed(Edit_TageWarnen, &SettingsController::Edit_TageWarnenChange);
    changed(Edit_AufnahmeTageWarnen, &SettingsController::Edit_AufnahmeTageWarnenChange);
    changed(Edit_Drucktitel, &SettingsController::Edit_DrucktitelChange);
}

bool SettingsController::eventFilter(QObject* watched, QEvent* event)
{
    const bool dayField = watched == Edit_TageWarnen || watched == Edit_AufnahmeTageWarnen;
    if (event->type() == QEvent::KeyPress && dayField) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text.at(0).isPrint()) {
            QChar key = text.at(0);
            Edit_TageWarnenKeyPress(key);
            if (key.isNull())
                return true;
        }
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
    return QObject::eventFilter(watched, event);
}

// --- Vocabulary lists ------------------------------------------------------------------

QString SettingsController::listPath(QLatin1StringView fileName) const
{
    return m_programDir + QStringLiteral("Lists/") + fileName;
}

QStringList SettingsController::listEntries(const QListWidget* list)
{
    QStringList entries;
    entries.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

void SettingsController::setListEntries(QListWidget* list, QStringList entries)
{
    vocabulary::sortEntries(entries);
    list->clear();
    list->addItems(entries);
}

QStringList SettingsController::genres() const
{
    return listEntries(ListBox_Genre);
}

QStringList SettingsController::stations() const
{
    return listEntries(ListBox_Programme);
}

QStringList SettingsController::extraPlayLengths() const
{
    return listEntries(ListBox_Spielzeiten);
}

void SettingsController::Lade_Genreliste()
{
    if (const auto entries = vocabulary::readListFile(listPath(vocabulary::kGenreFile))) {
        setListEntries(ListBox_Genre, *entries);
        BitBtn_Weg1->setEnabled(ListBox_Genre->count() > 0);
        emit genresChanged(genres());
    } else {
        // The film grid keeps its built-in genres in their own order.
        setListEntries(ListBox_Genre, vocabulary::builtInGenres());
        BitBtn_Weg1->setEnabled(true);
        emit genresChanged(vocabulary::builtInGenres());
    }
}

void SettingsController::Lade_Senderliste()
{
    if (const auto entries = vocabulary::readListFile(listPath(vocabulary::kStationFile))) {
        setListEntries(ListBox_Programme, *entries);
        BitBtn_Weg2->setEnabled(ListBox_Programme->count() > 0);
        emit stationsChanged(stations());
    } else {
        setListEntries(ListBox_Programme, vocabulary::builtInStations());
        BitBtn_Weg2->setEnabled(true);
        emit stationsChanged(vocabulary::builtInStations());
    }
}

void SettingsController::Lade_Spielzeitenliste()
{
    if (const auto entries = vocabulary::readListFile(listPath(vocabulary::kPlayLengthFile))) {
        setListEntries(ListBox_Spielzeiten, *entries);
        UpDateSpielzeiten();
        BitBtn_ZeitWeg->setEnabled(ListBox_Spielzeiten->count() > 0);
    } else {
        // The dialogs keep the built-in lengths.
        ListBox_Spielzeiten->clear();
        BitBtn_ZeitWeg->setEnabled(false);
        emit playLengthsChanged(m_playLengths);
    }
}

void SettingsController::Setze_Listenmarken_Zurueck()
{
    m_genresChanged = false;
    m_stationsChanged = false;
    m_playLengthsChanged = false;
}

void SettingsController::UpDateSpielzeiten()
{
    QStringList entries = listEntries(Stat_Zeiten);
    vocabulary::sortEntries(entries);
    for (const QString& extra : extraPlayLengths())
        vocabulary::insertSorted(entries, extra);
    m_playLengths = entries;
    emit playLengthsChanged(m_playLengths);
}

bool SettingsController::entryFitsListFile(const QString& entry)
{
    if (vocabulary::fitsListFile(entry))
        return true;
    m_ui.error(QStringLiteral("\"%1\" kann nicht in die Liste aufgenommen werden.").arg(entry) +
               quorbel::kMessageBreak +
               QStringLiteral("Der Text enthält Zeichen, die die Listendatei nicht speichern kann "
                              "(erlaubt sind die westeuropäischen Zeichen, ohne Zeilenumbruch)."));
    return false;
}

bool SettingsController::addVocabularyEntry(QListWidget* list, const QString& caption, const QString& prompt)
{
    const QString answer = m_ui.inputBox(caption, prompt, QString());
    if (answer.isEmpty() || !entryFitsListFile(answer))
        return false;
    QStringList entries = listEntries(list);
    const qsizetype at = vocabulary::insertSorted(entries, answer);
    list->insertItem(int(at), answer);
    return true;
}

void SettingsController::removeSelectedEntry(QListWidget* list)
{
    const auto selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    delete list->takeItem(list->row(selected.first()));
    // No entry stays marked: a second click removes nothing until the user picks again.
    list->clearSelection();
}

void SettingsController::BitBtn_Dazu1Click()
{
    if (!addVocabularyEntry(ListBox_Genre, QStringLiteral("Genre einfügen"),
                            QStringLiteral("Bitte geben Sie den Namen des Genre ein")))
        return;
    emit genresChanged(genres());
    BitBtn_Weg1->setEnabled(true);
    m_genresChanged = true;
    Einstellungen_Sichern_Ein();
}

void SettingsController::BitBtn_Weg1Click()
{
    if (ListBox_Genre->selectedItems().isEmpty())
        return;
    removeSelectedEntry(ListBox_Genre);
    emit genresChanged(genres());
    BitBtn_Weg1->setEnabled(ListBox_Genre->count() > 0);
    m_genresChanged = true;
    Einstellungen_Sichern_Ein();
}

void SettingsController::BitBtn_Dazu2Click()
{
    if (!addVocabularyEntry(ListBox_Programme, QStringLiteral("Sender einfügen"),
                            QStringLiteral("Bitte geben Sie den Namen des Senders ein")))
        return;
    emit stationsChanged(stations());
    BitBtn_Weg2->setEnabled(true);
    m_stationsChanged = true;
    Einstellungen_Sichern_Ein();
}

void SettingsController::BitBtn_Weg2Click()
{
    if (ListBox_Programme->selectedItems().isEmpty())
        return;
    removeSelectedEntry(ListBox_Programme);
    emit stationsChanged(stations());
    BitBtn_Weg2->setEnabled(ListBox_Programme->count() > 0);
    m_stationsChanged = true;
    Einstellungen_Sichern_Ein();
}

void SettingsController::BitBtn_ZeitDazuClick()
{
    const QString answer =
        m_ui.inputBox(QStringLiteral("Neue Spielzeit einfügen"),
                      QStringLiteral("Bitte geben Sie die Spielzeit in Minuten ein."), QString());
    if (answer.isEmpty())
        return;
    const QString entry = kPlayLengthPrefix + answer;
    for (const QString& existing : std::as_const(m_playLengths)) {
        if (existing.compare(entry, Qt::CaseInsensitive) == 0) {
            m_ui.error(QStringLiteral("Spielzeit schon vorhanden !"));
            return;
        }
    }
    if (!toWholeNumber(entry.mid(kPlayLengthPrefix.size()), nullptr)) {
        m_ui.error(QStringLiteral("Nur Zahlenwerte erlaubt !"));
        return;
    }
    QStringList entries = extraPlayLengths();
    ListBox_Spielzeiten->insertItem(int(vocabulary::insertSorted(entries, entry)), entry);
    UpDateSpielzeiten();
    BitBtn_ZeitWeg->setEnabled(true);
    Einstellungen_Sichern_Ein();
    m_playLengthsChanged = true;
}

void SettingsController::BitBtn_ZeitWegClick()
{
    if (ListBox_Spielzeiten->selectedItems().isEmpty())
        return;
    removeSelectedEntry(ListBox_Spielzeiten);
    BitBtn_ZeitWeg->setEnabled(ListBox_Spielzeiten->count() > 0);
    UpDateSpielzeiten();
    m_playLengthsChanged = true;
    Einstellungen_Sichern_Ein();
}

void SettingsController::saveList(QListWidget* list, QLatin1StringView fileName)
{
    // The directory is made at start-up; should it have gone since, it is made again.
    QDir().mkpath(m_programDir + QStringLiteral("Lists"));
    QString reason;
    if (vocabulary::writeListFile(listPath(fileName), listEntries(list), &reason))
        return;
    m_ui.error(QStringLiteral("Fehler beim Speichern von \"%1\" !").arg(fileName) + quorbel::kMessageBreak +
               reason);
}

// --- Settings store --------------------------------------------------------------------

void SettingsController::setSettingsChanged(bool changed)
{
    BitBtn_EinstellungenSpeichern->setEnabled(changed);
    if (m_settingsChanged == changed)
        return;
    m_settingsChanged = changed;
    emit settingsChangedFlag(changed);
}

void SettingsController::Einstellungen_Sichern_Ein()
{
    setSettingsChanged(true);
}

void SettingsController::readKey(KeyStore& key)
{
    Einstellungen& e = m_einstellungen;
    // A text of the wrong kind, or a number or yes/no value that is missing or of the
    // wrong kind, keeps its default; the next save writes it in the right kind.
    auto text = [&key](const QString& name, QString& field) {
        try {
            field = key.readText(name);
        } catch (const KeyError&) {
        }
    };
    auto number = [&key](const QString& name, qint32& field) {
        try {
            field = key.readInteger(name);
        } catch (const KeyError&) {
        }
    };
    auto yesNo = [&key](const QString& name, bool& field) {
        try {
            field = key.readInteger(name) != 0;
        } catch (const KeyError&) {
        }
    };
    text(QStringLiteral("Titel"), e.Titel);
    text(QStringLiteral("Titel_Font"), e.Titel_Font);
    text(QStringLiteral("Spaltenueberschriften_Font"), e.Spaltenueberschriften_Font);
    text(QStringLiteral("Listenelemente_Font"), e.Listenelemente_Font);
    text(QStringLiteral("Kassettennummer_Font"), e.Kassettennummer_Font);
    text(QStringLiteral("Schriftart_der_Etiketten"), e.Schriftart_der_Etiketten);
    text(QStringLiteral("Autostart"), e.Autostart);
    number(QStringLiteral("Schriftgroesse_Bei_Einem_Film"), e.etikett(1).Schriftgroesse);
    number(QStringLiteral("Schriftgroesse_Bei_Zwei_Filmen"), e.etikett(2).Schriftgroesse);
    number(QStringLiteral("Ausrichtung_Bei_Zwei_Filmen"), e.etikett(2).Ausrichtung);
    number(QStringLiteral("Schriftgroesse_Bei_Drei_Filmen"), e.etikett(3).Schriftgroesse);
    number(QStringLiteral("Ausrichtung_Bei_Drei_Filmen"), e.etikett(3).Ausrichtung);
    number(QStringLiteral("Schriftgroesse_Bei_Vier_Filmen"), e.etikett(4).Schriftgroesse);
    number(QStringLiteral("Ausrichtung_Bei_Vier_Filmen"), e.etikett(4).Ausrichtung);
    number(QStringLiteral("Warnen_Nach_x_Tagen"), e.Warnen_Nach_x_Tagen);
    number(QStringLiteral("Aufnahme_TageWarnen"), e.Aufnahme_TageWarnen);
    // The day fields take no more than kHoechsteTage, and a file gives no more either.
    e.Warnen_Nach_x_Tagen = tageBegrenzt(e.Warnen_Nach_x_Tagen);
    e.Aufnahme_TageWarnen = tageBegrenzt(e.Aufnahme_TageWarnen);
    yesNo(QStringLiteral("Nummer_Drucken"), e.Nummer_Drucken);
    yesNo(QStringLiteral("Kassette_Fett_Drucken"), e.Kassette_Fett_Drucken);
    yesNo(QStringLiteral("Anzahl_Der_Filme_Drucken"), e.Anzahl_Der_Filme_Drucken);
    yesNo(QStringLiteral("Tip_Anzeigen"), e.Tip_Anzeigen);
    yesNo(QStringLiteral("Nulllaengentip"), e.Nulllaengentip);
}

void SettingsController::writeAllValues(KeyStore& key, const QString& autostart)
{
    const Einstellungen& e = m_einstellungen;
    key.writeText(QStringLiteral("Titel"), e.Titel);
    key.writeText(QStringLiteral("Titel_Font"), e.Titel_Font);
    key.writeText(QStringLiteral("Spaltenueberschriften_Font"), e.Spaltenueberschriften_Font);
    key.writeText(QStringLiteral("Listenelemente_Font"), e.Listenelemente_Font);
    key.writeText(QStringLiteral("Kassettennummer_Font"), e.Kassettennummer_Font);
    key.writeText(QStringLiteral("Schriftart_der_Etiketten"), e.Schriftart_der_Etiketten);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Einem_Film"), e.etikett(1).Schriftgroesse);
    key.writeInteger(QStringLiteral("Ausrichtung_Bei_Zwei_Filmen"), e.etikett(2).Ausrichtung);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Zwei_Filmen"), e.etikett(2).Schriftgroesse);
    key.writeInteger(QStringLiteral("Ausrichtung_Bei_Drei_Filmen"), e.etikett(3).Ausrichtung);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Drei_Filmen"), e.etikett(3).Schriftgroesse);
    key.writeInteger(QStringLiteral("Ausrichtung_Bei_Vier_Filmen"), e.etikett(4).Ausrichtung);
    key.writeInteger(QStringLiteral("Schriftgroesse_Bei_Vier_Filmen"), e.etikett(4).Schriftgroesse);
    key.writeInteger(QStringLiteral("Warnen_Nach_x_Tagen"), e.Warnen_Nach_x_Tagen);
    key.writeInteger(QStringLiteral("Nummer_Drucken"), e.Nummer_Drucken ? 1 : 0);
    key.writeInteger(QStringLiteral("Kassette_Fett_Drucken"), e.Kassette_Fett_Drucken ? 1 : 0);
    key.writeInteger(QStringLiteral("Anzahl_Der_Filme_Drucken"), e.Anzahl_Der_Filme_Drucken ? 1 : 0);
    key.writeInteger(QStringLiteral("Tip_Anzeigen"), e.Tip_Anzeigen ? 1 : 0);
    key.writeInteger(QStringLiteral("Nulllaengentip"), e.Nulllaengentip ? 1 : 0);
    key.writeInteger(QStringLiteral("Aufnahme_TageWarnen"), e.Aufnahme_TageWarnen);
    key.writeText(QStringLiteral("Autostart"), autostart);
}

void SettingsController::pruefeSchriftarten()
{
    const QStringList installed = m_fonts();
    auto check = [&installed](QString& face, const QString& fallback) {
        if (!installed.contains(face, Qt::CaseInsensitive))
            face = fallback;
    };
    const QString times = QStringLiteral("Times New Roman");
    check(m_einstellungen.Titel_Font, times);
    check(m_einstellungen.Spaltenueberschriften_Font, times);
    check(m_einstellungen.Listenelemente_Font, times);
    check(m_einstellungen.Kassettennummer_Font, times);
    check(m_einstellungen.Schriftart_der_Etiketten, QStringLiteral("Arial"));
}

void SettingsController::fillControls()
{
    const Einstellungen& e = m_einstellungen;
    emit filmListTitleChanged(e.Titel);
    emit filmListTitleFontChanged(e.Titel_Font);
    emit columnHeaderFontChanged(e.Spaltenueberschriften_Font);
    emit listElementFontChanged(e.Listenelemente_Font);

    // Filling a check box runs its handler, also when its state does not change, so the
    // cassette-number box always takes the bold box along.
    auto setBox = [this](QCheckBox* box, bool state, void (SettingsController::*handler)()) {
        {
            const QSignalBlocker block(box);
            box->setChecked(state);
        }
        (this->*handler)();
    };
    setBox(CheckBox_TipAnzeigen, e.Tip_Anzeigen, &SettingsController::CheckBox_TipAnzeigenClick);
    setBox(CheckBox_Nulllaenge, e.Nulllaengentip, &SettingsController::CheckBox_NulllaengeClick);
    Edit_TageWarnen->setText(QString::number(e.Warnen_Nach_x_Tagen));
    Edit_AufnahmeTageWarnen->setText(QString::number(e.Aufnahme_TageWarnen));
    Edit_Drucktitel->setText(e.Titel);
    setBox(CheckBox_Nummer, e.Nummer_Drucken, &SettingsController::CheckBox_NummerClick);
    setBox(CheckBox_NummerFett, e.Kassette_Fett_Drucken, &SettingsController::CheckBox_NummerFettClick);
    setBox(CheckBox_Filmanzahl, e.Anzahl_Der_Filme_Drucken, &SettingsController::CheckBox_FilmanzahlClick);

    m_einstellungen.etikett(1).Ausrichtung = 0;
    emit kassettennummerFontChanged(e.Kassettennummer_Font);

    if (e.Autostart == kKeinAutostart) {
        Edit_Autostart->setText(kKeinAutostartAnzeige);
        BitBtn_KeinAuto->setEnabled(false);
    } else {
        Edit_Autostart->setText(e.Autostart);
        BitBtn_KeinAuto->setEnabled(true);
    }
}

void SettingsController::Registry_Auslesen()
{
    KeyStore& key = *m_store;
    m_einstellungen = Einstellungen{};
    if (key.openKey()) {
        readKey(key);
        key.closeKey();
    } else {
        const QString damage = key.damageReport();
        if (!damage.isEmpty()) {
            qCWarning(quorbel::lcSettings).noquote() << damage;
            m_ui.warning(damage);
        }
        // First start: the defaults, written as the new key. Without the right to write
        // it the defaults still hold for this run. A key that must be left as it is (the
        // warning above said so) is not made anew.
        if (!key.writesRefused()) {
            try {
                key.createKey();
                writeAllValues(key, kKeinAutostart);
                key.writeText(QStringLiteral("Version"), kVersionswert);
                key.closeKey();
            } catch (const store::Error& failure) {
                try {
                    key.closeKey();
                } catch (const store::Error&) {
                }
                qCWarning(quorbel::lcSettings).noquote()
                    << "Einstellungen nicht angelegt:" << failure.message();
                m_ui.showError(failure.message());
            }
        }
    }
    zeigeEinstellungen();
    setSettingsChanged(false);
}

// The record's rules, then the page and everyone who shows a setting take it over: after
// loading the key as after an import.
void SettingsController::zeigeEinstellungen()
{
    m_einstellungen.etikett(1).Ausrichtung = 0;
    pruefeSchriftarten();
    fillControls();
    emit settingsLoaded(m_einstellungen);
}

void SettingsController::commitPendingFields()
{
    // A value typed into a field counts once the field is left; a save from the closing
    // question comes without that, so the fields are taken over here. A day field whose
    // text is refused stops the save: the user sees why, and the change is not lost.
    auto takeDays = [](QLineEdit* edit, const QString& emptyText, qint32& target) {
        if (edit->text() == QString::number(target))
            return;
        if (edit->text().isEmpty())
            edit->setText(emptyText);
        qint32 value = 0;
        if (!toWholeNumber(edit->text(), &value))
            throw store::Error(notAnInteger(edit->text()));
        if (value != tageBegrenzt(value))
            throw store::Error(notADayCount(edit->text()));
        target = value;
    };
    takeDays(Edit_TageWarnen, QStringLiteral("7"), m_einstellungen.Warnen_Nach_x_Tagen);
    takeDays(Edit_AufnahmeTageWarnen, QStringLiteral("3"), m_einstellungen.Aufnahme_TageWarnen);
    if (Edit_Drucktitel->text() != m_einstellungen.Titel)
        Edit_DrucktitelExit();
}

void SettingsController::Speichere_Registry()
{
    commitPendingFields();
    KeyStore& key = *m_store;
    try {
        if (!key.openKey()) {
            // The key went missing (or damaged) since the start: it is made anew. A key
            // that must be left as it is refuses that with its own message.
            const QString damage = key.damageReport();
            if (!damage.isEmpty() && !key.writesRefused())
                m_ui.warning(damage);
            key.createKey();
        }
        const QString shown = Edit_Autostart->text();
        writeAllValues(key, shown == kKeinAutostartAnzeige ? kKeinAutostart : shown);
        key.closeKey();
    } catch (const store::Error&) {
        try {
            key.closeKey();
        } catch (const store::Error&) {
        }
        throw;
    }

    if (m_genresChanged)
        saveList(ListBox_Genre, vocabulary::kGenreFile);
    if (m_stationsChanged)
        saveList(ListBox_Programme, vocabulary::kStationFile);
    if (m_playLengthsChanged)
        saveList(ListBox_Spielzeiten, vocabulary::kPlayLengthFile);
    setSettingsChanged(false);
}

void SettingsController::BitBtn_EinstellungenSpeichernClick()
{
    Speichere_Registry();
}

void SettingsController::BitBtn_EinstellungenImportierenClick()
{
    const QString pfad = m_ui.chooseFile(QStringLiteral("Registrierungsdateien (*.reg)|*.reg"), m_programDir);
    if (pfad.isEmpty())
        return;
    const RegistryImport import = leseRegistryExportDatei(pfad);
    if (!import.gelesen()) {
        m_ui.error(importFehlermeldung(pfad, import));
        return;
    }
    if (!import.werte.isEmpty()) {
        // What the page holds beyond the record (fields not yet left, the autostart chosen
        // since loading) stays unless the file brings a value of its own.
        commitPendingFields();
        const QString autostart = Edit_Autostart->text();
        m_einstellungen.Autostart = autostart == kKeinAutostartAnzeige ? kKeinAutostart : autostart;
        uebernehmeWerte(import, m_einstellungen);
        zeigeEinstellungen();
        Einstellungen_Sichern_Ein();
    }
    m_ui.information(importBericht(pfad, import));
}

// --- Settings page ---------------------------------------------------------------------

void SettingsController::CheckBox_TipAnzeigenClick()
{
    m_einstellungen.Tip_Anzeigen = CheckBox_TipAnzeigen->isChecked();
    Einstellungen_Sichern_Ein();
}

void SettingsController::CheckBox_NulllaengeClick()
{
    m_einstellungen.Nulllaengentip = CheckBox_Nulllaenge->isChecked();
    Einstellungen_Sichern_Ein();
}

void SettingsController::CheckBox_NummerClick()
{
    m_einstellungen.Nummer_Drucken = CheckBox_Nummer->isChecked();
    if (!CheckBox_Nummer->isChecked()) {
        {
            const QSignalBlocker block(CheckBox_NummerFett);
            CheckBox_NummerFett->setChecked(false);
        }
        CheckBox_NummerFettClick();
    }
    Einstellungen_Sichern_Ein();
}

void SettingsController::CheckBox_NummerFettClick()
{
    m_einstellungen.Kassette_Fett_Drucken = CheckBox_NummerFett->isChecked();
    Einstellungen_Sichern_Ein();
}

void SettingsController::CheckBox_FilmanzahlClick()
{
    m_einstellungen.Anzahl_Der_Filme_Drucken = CheckBox_Filmanzahl->isChecked();
    Einstellungen_Sichern_Ein();
}

void SettingsController::Edit_TageWarnenKeyPress(QChar& key)
{
    const bool digit = key >= u'0' && key <= u'9';
    if (!digit && key != u'\b')
        key = QChar();
}

void SettingsController::Edit_TageWarnenChange()
{
    Einstellungen_Sichern_Ein();
}

void SettingsController::Edit_AufnahmeTageWarnenChange()
{
    Einstellungen_Sichern_Ein();
}

void SettingsController::Edit_DrucktitelChange()
{
    Einstellungen_Sichern_Ein();
}

bool SettingsController::leaveDayField(QLineEdit* edit, const QString& emptyText, qint32& target)
{
    if (edit->text().isEmpty())
        edit->setText(emptyText);
    qint32 value = 0;
    if (!toWholeNumber(edit->text(), &value)) {
        m_ui.error(notAnInteger(edit->text()));
        return false;
    }
    if (value != tageBegrenzt(value)) {
        m_ui.error(notADayCount(edit->text()));
        return false;
    }
    target = value;
    return true;
}

void SettingsController::Edit_TageWarnenExit()
{
    leaveDayField(Edit_TageWarnen, QStringLiteral("7"), m_einstellungen.Warnen_Nach_x_Tagen);
}

void SettingsController::Edit_AufnahmeTageWarnenExit()
{
    leaveDayField(Edit_AufnahmeTageWarnen, QStringLiteral("3"), m_einstellungen.Aufnahme_TageWarnen);
}

void SettingsController::Edit_DrucktitelExit()
{
    if (Edit_Drucktitel->text().isEmpty())
        Edit_Drucktitel->setText(QStringLiteral("Videoliste"));
    m_einstellungen.Titel = Edit_Drucktitel->text();
    emit filmListTitleChanged(m_einstellungen.Titel);
}

void SettingsController::chooseFont(QString& setting, void (SettingsController::*changed)(const QString&))
{
    Schriftartenformular->setzeSchriftarten(m_fonts());
    Schriftartenformular->waehleSchriftart(setting);
    Schriftartenformular->FormActivate();
    if (m_ui.exec(*Schriftartenformular) != QDialog::Accepted)
        return;
    const QString chosen = Schriftartenformular->gewaehlteSchriftart();
    if (chosen.isEmpty())
        return;
    // Every element that shows this face has taken each change of the setting, so the
    // setting stands for the face of the element compared with.
    if (chosen != setting) {
        setting = chosen;
        Einstellungen_Sichern_Ein();
        emit(this->*changed)(chosen);
    }
}

void SettingsController::Button_SchriftArtKassettennummerClick()
{
    chooseFont(m_einstellungen.Kassettennummer_Font, &SettingsController::kassettennummerFontChanged);
}

void SettingsController::Button_DruckfontClick()
{
    chooseFont(m_einstellungen.Titel_Font, &SettingsController::filmListTitleFontChanged);
}

void SettingsController::Button_Schriftart_UeberschriftenClick()
{
    chooseFont(m_einstellungen.Spaltenueberschriften_Font, &SettingsController::columnHeaderFontChanged);
}

void SettingsController::Button_Schriftart_ListenElementeClick()
{
    chooseFont(m_einstellungen.Listenelemente_Font, &SettingsController::listElementFontChanged);
}

void SettingsController::Button_AutostartClick()
{
    const QString shown = Edit_Autostart->text();
    const QString directory = shown == kKeinAutostartAnzeige ? m_programDir : QFileInfo(shown).absolutePath();
    const QString path = m_ui.chooseFile(QStringLiteral("Videolisten (*.qbx)|*.qbx"), directory);
    if (path.isEmpty())
        return;
    Edit_Autostart->setText(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    BitBtn_KeinAuto->setEnabled(true);
    Einstellungen_Sichern_Ein();
}

void SettingsController::BitBtn_KeinAutoClick()
{
    Edit_Autostart->setText(kKeinAutostartAnzeige);
    BitBtn_KeinAuto->setEnabled(false);
    Einstellungen_Sichern_Ein();
}

// --- Label settings --------------------------------------------------------------------

QWidget* SettingsController::etikettendruckSeite() const
{
    return Tab_Etikettendruck;
}

void SettingsController::setzeEtikettSchriftgroesse(int filme, qint32 groesse)
{
    if (filme < 1 || filme > 4)
        return;
    m_einstellungen.etikett(filme).Schriftgroesse = groesse;
    Einstellungen_Sichern_Ein();
}

void SettingsController::setzeEtikettAusrichtung(int filme, qint32 ausrichtung)
{
    if (filme < 2 || filme > 4)
        return;
    m_einstellungen.etikett(filme).Ausrichtung = ausrichtung;
    Einstellungen_Sichern_Ein();
}

void SettingsController::setzeSchriftartDerEtiketten(const QString& face)
{
    m_einstellungen.Schriftart_der_Etiketten = face;
    Einstellungen_Sichern_Ein();
}

} // namespace settings
