#include "eingabeseite.h"

#include "filminfoformular.h"
#include "hinzufuegenformular.h"
#include "spielzeitformular.h"

#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <settings/vocabulary.h>
#include <store/collection.h>
#include <store/dataset.h>
#include <store/datasetmodel.h>
#include <ui/bilder.h>
#include <ui/datasetgrid.h>
#include <ui/design.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

using namespace design;

namespace {

const QString kNummer = QStringLiteral("Nummer");
const QString kSpielzeit = QStringLiteral("Spielzeit");
const QString kFrei = QStringLiteral("Frei");
const QString kGenre = QStringLiteral("Genre");

} // namespace

Eingabeseite::Eingabeseite(store::Collection& sammlung, Interaction& ui, const Clock& clock, QWidget* parent)
    : QWidget(parent), m_sammlung(sammlung), m_ui(ui), m_kassetten(sammlung.kassetten()),
      m_filme(sammlung.filme()), m_regeln(sammlung, ui, clock, this)
{
    Aufbauen();
    using Column = store::DatasetModel::Column;
    DataSource_Filme = new store::DatasetModel(
        &m_filme,
        {Column{QStringLiteral("Filmname"), QString(), Qt::AlignLeft, 214},
         Column{QStringLiteral("Filmlaenge"), QStringLiteral("Länge (Min.)"), Qt::AlignHCenter, 81},
         Column{kGenre, QString(), Qt::AlignLeft, 136}},
        this);
    DBGrid_Filme->setKeyField(QStringLiteral("Zaehler"));
    DBGrid_Filme->setPickList(kGenre, settings::vocabulary::builtInGenres());
    DBGrid_Filme->bind(DataSource_Filme);

    Hinzufuegenformular = new THinzufuegenformular(this);
    Spielzeit_Formular = new TSpielzeit_Formular(this);
    Filminfoformular = new TFilminfoformular(m_filme, m_ui, this);
    Handler_Verbinden();
}

Eingabeseite::~Eingabeseite()
{
    Edit_Direkt->removeEventFilter(this);
}

// --- The fixed design --------------------------------------------------------------------

void Eingabeseite::Aufbauen()
{
    QWidget* page = this;
    named(page, QStringLiteral("Tab_Eingabe"), QStringLiteral("Eingabe"));

    Bevel_Kassettennummer = named(new QFrame(page), QStringLiteral("Bevel_Kassettennummer"),
                                  QStringLiteral("Rahmen der Kassettennummer"));
    Bevel_Kassettennummer->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel_Kassettennummer->setGeometry(8, 8, 200, 80);
    Image_Hintergrund = named(new QLabel(page), QStringLiteral("Image_Hintergrund"),
                              QStringLiteral("Etikett der Kassettennummer"));
    Image_Hintergrund->setGeometry(10, 10, 196, 76);
    Image_Hintergrund->setScaledContents(true);
    Image_Hintergrund->setPixmap(bild(QStringLiteral("etikett"), Image_Hintergrund->size()));
    DBText_Kassette =
        named(new QLabel(page), QStringLiteral("DBText_Kassette"), QStringLiteral("Kassettennummer"));
    DBText_Kassette->setGeometry(10, 22, 196, 60);
    DBText_Kassette->setAlignment(Qt::AlignCenter);
    QFont number(QStringLiteral("Times New Roman"));
    number.setPixelSize(32);
    DBText_Kassette->setFont(number);

    BitBtn_Erste = pictureButton(page, QStringLiteral("BitBtn_Erste"), QStyle::SP_MediaSkipBackward,
                                 QStringLiteral("Erste Kassette"), QRect(222, 34, 34, 30));
    BitBtn_Vorherige = pictureButton(page, QStringLiteral("BitBtn_Vorherige"), QStyle::SP_MediaSeekBackward,
                                     QStringLiteral("Vorherige Kassette"), QRect(258, 34, 34, 30));
    BitBtn_Naechste = pictureButton(page, QStringLiteral("BitBtn_Naechste"), QStyle::SP_MediaSeekForward,
                                    QStringLiteral("Nächste Kassette"), QRect(294, 34, 34, 30));
    BitBtn_Letzte = pictureButton(page, QStringLiteral("BitBtn_Letzte"), QStyle::SP_MediaSkipForward,
                                  QStringLiteral("Letzte Kassette"), QRect(330, 34, 34, 30));

    BitBtn_NeueKassette =
        button(page, QStringLiteral("BitBtn_NeueKassette"), QStringLiteral("&Neue Kassette"),
               QStringLiteral("Neue Kassette hinzufügen"), QRect(380, 8, 149, 28));
    GroupBox_Direkt = group(page, QStringLiteral("GroupBox_Direkt"), QStringLiteral("&Gehe zu Nr..."),
                            QRect(380, 40, 149, 50),
                            QStringLiteral("Springt zur Kassette, die am nächsten der Eingabe entspricht."));
    Edit_Direkt = editIn(GroupBox_Direkt, QStringLiteral("Edit_Direkt"),
                         QStringLiteral("Springt zur Kassette, die am nächsten der Eingabe entspricht."));
    Edit_Direkt->setMaxLength(3);

    DBGrid_Filme = grid(m_ui, page, QStringLiteral("DBGrid_Filme"), QStringLiteral("Filme der Kassette"),
                        QStringLiteral("Hier werden die Filme der aktuellen Kassette angezeigt & bearbeitet"),
                        QRect(8, 98, 521, 250), false);

    BitBtn_Filmloeschen = button(page, QStringLiteral("BitBtn_Filmloeschen"), QStringLiteral("Film &löschen"),
                                 QStringLiteral("Löscht markierten Film"), QRect(8, 354, 130, 28));
    // A click leaves the focus in the film grid: leaving the grid would store the film
    // being typed, which the button is to discard.
    BitBtn_Filmloeschen->setFocusPolicy(Qt::TabFocus);

    Panel1 = named(new QFrame(page), QStringLiteral("Panel1"), QStringLiteral("Spielzeit und freie Minuten"));
    Panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    Panel1->setGeometry(8, 390, 290, 82);
    auto infoRow = [this](const QString& caption, const QString& name, int top) {
        label(Panel1, caption, QRect(12, top + 3, 70, 20));
        auto* edit = named(new QLineEdit(Panel1), name, caption);
        edit->setGeometry(88, top, 80, 24);
        edit->setReadOnly(true);
        edit->setEnabled(false);
        edit->setAlignment(Qt::AlignRight);
        label(Panel1, QStringLiteral("Minute(n)"), QRect(176, top + 3, 90, 20));
        return edit;
    };
    DBEdit_SpielzeitInfo = infoRow(QStringLiteral("Spielzeit"), QStringLiteral("DBEdit_SpielzeitInfo"), 12);
    DBEdit_FreiInfo = infoRow(QStringLiteral("Frei"), QStringLiteral("DBEdit_FreiInfo"), 46);

    BitBtn_SpielzeitAendern =
        button(page, QStringLiteral("BitBtn_SpielzeitAendern"), QStringLiteral("&Spielzeit ändern"),
               QStringLiteral("Ändert die Spielzeit der aktuellen Kassette"), QRect(330, 354, 199, 30));
    BitBtn_Verleihen = button(page, QStringLiteral("BitBtn_Verleihen"), QStringLiteral("&Verleihen"),
                              QStringLiteral("Kassette an jemanden verleihen"), QRect(330, 390, 199, 30));
    BitBtn_Labeldrucken =
        button(page, QStringLiteral("BitBtn_Labeldrucken"), QStringLiteral("Etikett &drucken"),
               QStringLiteral("Druckt ein Etikett mit den Filmen der aktuellen Kassette aus"),
               QRect(330, 426, 199, 30));

    GroupBox_Nonvisible = group(page, QStringLiteral("GroupBox_Nonvisible"), QString(), QRect(0, 0, 10, 10));
    GroupBox_Nonvisible->setAccessibleName(QStringLiteral("Etikettenbericht"));
    GroupBox_Nonvisible->setVisible(false);
}

void Eingabeseite::Handler_Verbinden()
{
    connectGuarded(BitBtn_Erste, &QToolButton::clicked, this, m_ui, [this](bool) { BitBtn_ErsteClick(); });
    connectGuarded(BitBtn_Letzte, &QToolButton::clicked, this, m_ui, [this](bool) { BitBtn_LetzteClick(); });
    connectGuarded(BitBtn_Vorherige, &QToolButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_VorherigeClick(); });
    connectGuarded(BitBtn_Naechste, &QToolButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_NaechsteClick(); });
    connectGuarded(BitBtn_NeueKassette, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_NeueKassetteClick(); });
    connectGuarded(BitBtn_SpielzeitAendern, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_SpielzeitAendernClick(); });
    connectGuarded(BitBtn_Filmloeschen, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_FilmloeschenClick(); });
    connectGuarded(BitBtn_Verleihen, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_VerleihenClick(); });
    connectGuarded(BitBtn_Labeldrucken, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_LabeldruckenClick(); });
    connectGuarded(Edit_Direkt, &QLineEdit::textChanged, this, m_ui,
                   [this](const QString& text) { Edit_DirektChange(text); });
    Edit_Direkt->installEventFilter(this);

    DBGrid_Filme->enterAction = [this] { DBGrid_FilmeKeyPress(QChar(13)); };
    DBGrid_Filme->doubleClickAction = [this] { DBGrid_FilmeDblClick(); };

    connect(&m_regeln, &Eingaberegeln::filmGespeichert, this, &Eingabeseite::Filmknoepfe_Setzen);
    connect(&m_regeln, &Eingaberegeln::filmGeloescht, this,
            [this](int filme) { BitBtn_Labeldrucken->setEnabled(filme > 0); });

    // The number and capacity fields follow the current cassette.
    connect(&m_kassetten, &store::Dataset::rowsReset, this, &Eingabeseite::Kassette_Anzeigen);
    connect(&m_kassetten, &store::Dataset::currentChanged, this, &Eingabeseite::Kassette_Anzeigen);
    connect(&m_kassetten, &store::Dataset::rowChanged, this, &Eingabeseite::Kassette_Anzeigen);
    connect(&m_kassetten, &store::Dataset::stateChanged, this, &Eingabeseite::Kassette_Anzeigen);
}

void Eingabeseite::setGenres(const QStringList& genres)
{
    DBGrid_Filme->setPickList(kGenre, genres);
}

void Eingabeseite::setSpielzeiten(const QStringList& entries)
{
    Hinzufuegenformular->setSpielzeiten(entries);
    Spielzeit_Formular->setSpielzeiten(entries);
}

void Eingabeseite::setKassettennummerSchrift(const QString& face)
{
    QFont f = DBText_Kassette->font();
    f.setFamily(face);
    DBText_Kassette->setFont(f);
}

void Eingabeseite::setVerleihenMoeglich(bool moeglich)
{
    BitBtn_Verleihen->setEnabled(moeglich);
}

void Eingabeseite::Kassette_Anzeigen()
{
    const bool shown = m_kassetten.isActive() && !m_kassetten.isEmpty();
    design::anzeigen(DBText_Kassette, shown ? m_kassetten.asString(kNummer) : QString());
    DBEdit_SpielzeitInfo->setText(shown ? m_kassetten.asString(kSpielzeit) : QString());
    DBEdit_FreiInfo->setText(shown ? m_kassetten.asString(kFrei) : QString());
}

void Eingabeseite::Nach_Oeffnen()
{
    BitBtn_Labeldrucken->setEnabled(m_filme.recordCount() > 0);
    Refresh_Navigator();
}

// --- Cassettes ----------------------------------------------------------------------------

void Eingabeseite::Refresh_Navigator()
{
    const NavigatorZustand z = m_regeln.Navigator();
    BitBtn_Vorherige->setEnabled(z.zurueck);
    BitBtn_Erste->setEnabled(z.zurueck);
    BitBtn_Naechste->setEnabled(z.vor);
    BitBtn_Letzte->setEnabled(z.vor);
    BitBtn_SpielzeitAendern->setEnabled(z.spielzeitAendern);
    DBGrid_Filme->setEditable(z.bearbeitbar);
    BitBtn_Labeldrucken->setEnabled(z.labeldrucken);
    BitBtn_Filmloeschen->setEnabled(z.filmloeschen);
    BitBtn_Verleihen->setEnabled(z.verleihen);
    emit freienPlatzSuchenMoeglich(z.freienPlatzSuchen);
}

void Eingabeseite::Kassette_Zeigen(int nummer)
{
    if (!m_kassetten.isActive() || !Zelle_Uebernehmen())
        return;
    m_kassetten.findNearest(nummer);
    Refresh_Navigator();
}

bool Eingabeseite::Zelle_Uebernehmen()
{
    return DBGrid_Filme->commitCell();
}

void Eingabeseite::BitBtn_ErsteClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.first();
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_LetzteClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.last();
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_VorherigeClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.prior();
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_NaechsteClick()
{
    if (!Zelle_Uebernehmen())
        return;
    m_kassetten.next();
    Refresh_Navigator();
}

void Eingabeseite::Edit_DirektChange(const QString& text)
{
    if (!m_kassetten.isActive() || !Eingaberegeln::Direkt_Bewegt(text))
        return;
    if (!Zelle_Uebernehmen())
        return;
    m_regeln.Direkt_Springen(text);
    Refresh_Navigator();
}

void Eingabeseite::BitBtn_NeueKassetteClick()
{
    if (!m_kassetten.isActive())
        return;
    if (!Zelle_Uebernehmen())
        return;
    if (m_ui.exec(*Hinzufuegenformular) != QDialog::Accepted)
        return;
    bool neu = false;
    try {
        neu = m_regeln.Neue_Kassette(Hinzufuegenformular->gewaehlteSpielzeit());
    } catch (...) {
        Refresh_Navigator();
        throw;
    }
    if (neu)
        Refresh_Navigator();
}

void Eingabeseite::BitBtn_SpielzeitAendernClick()
{
    if (!m_kassetten.isActive() || m_kassetten.isEmpty())
        return;
    if (!Zelle_Uebernehmen())
        return;
    m_filme.checkBrowseMode();
    TSpielzeit_Formular& dialog = *Spielzeit_Formular;
    // Whatever happens below, the next use starts with no choice.
    const auto zuruecksetzen = qScopeGuard([&dialog] { dialog.zuruecksetzen(); });
    if (m_ui.exec(dialog) != QDialog::Accepted)
        return;
    m_regeln.Spielzeit_Aendern(dialog.gewaehlteSpielzeit());
}

// --- Films --------------------------------------------------------------------------------

void Eingabeseite::Filmknoepfe_Setzen(int filme)
{
    BitBtn_Labeldrucken->setEnabled(filme > 0);
    BitBtn_Filmloeschen->setEnabled(filme > 0);
}

void Eingabeseite::DBGrid_FilmeKeyPress(QChar key)
{
    if (key != QChar(13) || !m_filme.isActive())
        return;
    if (!Zelle_Uebernehmen())
        return;
    m_regeln.Film_Enter();
}

void Eingabeseite::eingegebenenFilmSpeichern()
{
    DBGrid_Filme->leave();
}

void Eingabeseite::BitBtn_FilmloeschenClick()
{
    if (!m_filme.isActive())
        return;
    Zelle_Uebernehmen();
    m_regeln.Film_Loeschen();
    if (m_filme.recordCount() == 0)
        BitBtn_Filmloeschen->setEnabled(false);
}

void Eingabeseite::DBGrid_FilmeDblClick()
{
    if (!m_filme.isActive())
        return;
    // The details work on a stored film: a pending row is stored first, as when
    // the grid is left.
    if (!Zelle_Uebernehmen())
        return;
    m_filme.checkBrowseMode();
    if (m_filme.recordCount() == 0)
        return;
    Filminfoformular->filmnameUebernehmen();
    m_ui.exec(*Filminfoformular);
}

void Eingabeseite::BitBtn_VerleihenClick()
{
    if (!m_kassetten.isActive() || m_kassetten.isEmpty())
        return;
    // A film being typed is stored first, as when the grid is left.
    if (!Zelle_Uebernehmen())
        return;
    m_filme.checkBrowseMode();
    emit verleihenAngefordert();
}

void Eingabeseite::BitBtn_LabeldruckenClick()
{
    if (!m_filme.isActive())
        return;
    // The label shows stored films: a film being typed is stored first, as when the
    // grid is left.
    if (!Zelle_Uebernehmen())
        return;
    m_filme.checkBrowseMode();
    emit etikettDruckenAngefordert();
}

bool Eingabeseite::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit_Direkt && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (const QChar c : text) {
            const bool steuerzeichen = c.unicode() < 0x20 || c.unicode() == 0x7f;
            if (!steuerzeichen && !Eingaberegeln::Direkt_Zeichen(c))
                return true; // dropped
        }
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quorbel
