#include "filminfoformular.h"

#include "bildladen.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <store/dataset.h>
#include <ui/guard.h>
#include <ui/interaction.h>

namespace quorbel {

namespace {
const QString kBild = QStringLiteral("Bild");
const QString kBildVorhanden = QStringLiteral("Bild_Vorhanden");
const QString kBeschreibung = QStringLiteral("Beschreibung");
const QString kFilmname = QStringLiteral("Filmname");
constexpr QSize kRahmen(320, 240);
} // namespace

TFilminfoformular::TFilminfoformular(store::Dataset& filme, Interaction& ui, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_filme(filme), m_ui(ui)
{
    setObjectName(QStringLiteral("Filminfoformular"));
    setWindowTitle(QStringLiteral("Zusatzinformation über "));
    setModal(true);

    // The picture frame inside a raised bevel; the load button lies over its middle.
    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel_Motiv"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(2);

    DBImage_Motiv = new QLabel(bevel);
    DBImage_Motiv->setObjectName(QStringLiteral("DBImage_Motiv"));
    DBImage_Motiv->setAccessibleName(QStringLiteral("Bild"));
    DBImage_Motiv->setFixedSize(kRahmen);
    DBImage_Motiv->setScaledContents(true);
    DBImage_Motiv->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DBImage_Motiv->setBackgroundRole(QPalette::Button);
    DBImage_Motiv->setAutoFillBackground(true);
    DBImage_Motiv->setContextMenuPolicy(Qt::CustomContextMenu);
    // Reachable with Tab, so that the context-menu key opens the picture's menu.
    DBImage_Motiv->setFocusPolicy(Qt::StrongFocus);

    BitBtn_Bildladen = new QPushButton(QStringLiteral("Bild einfügen"), DBImage_Motiv);
    BitBtn_Bildladen->setObjectName(QStringLiteral("BitBtn_Bildladen"));
    BitBtn_Bildladen->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    auto* ueberBild = new QGridLayout(DBImage_Motiv);
    ueberBild->addWidget(BitBtn_Bildladen, 0, 0, Qt::AlignCenter);

    auto* bevelLayout = new QHBoxLayout(bevel);
    bevelLayout->setContentsMargins(6, 6, 6, 6);
    bevelLayout->addWidget(DBImage_Motiv);

    PopupMenu_Bild = new QMenu(this);
    PopupMenu_Bild->setObjectName(QStringLiteral("PopupMenu_Bild"));
    MI_Loeschen = PopupMenu_Bild->addAction(QStringLiteral("Bild &löschen"));
    MI_Loeschen->setObjectName(QStringLiteral("MI_Loeschen"));
    MI_Loeschen->setEnabled(false);
    // Also from the keyboard, anywhere in the dialog.
    MI_Loeschen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    MI_Loeschen->setShortcutContext(Qt::WindowShortcut);
    addAction(MI_Loeschen);

    Label_Bemerkungen = new QLabel(QStringLiteral("Bemerkungen"), this);
    Label_Bemerkungen->setObjectName(QStringLiteral("Label_Bemerkungen"));
    DBMemo_Bemerkungen = new QPlainTextEdit(this);
    DBMemo_Bemerkungen->setObjectName(QStringLiteral("DBMemo_Bemerkungen"));
    DBMemo_Bemerkungen->setAccessibleName(QStringLiteral("Bemerkungen"));
    DBMemo_Bemerkungen->setTabChangesFocus(true);
    DBMemo_Bemerkungen->setFixedHeight(110);
    Label_Bemerkungen->setBuddy(DBMemo_Bemerkungen);
    DBMemo_Bemerkungen->installEventFilter(this);

    BitBtn_Zurueck = new QPushButton(QStringLiteral("Zurueck"), this);
    BitBtn_Zurueck->setObjectName(QStringLiteral("BitBtn_Zurueck"));
    BitBtn_Zurueck->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));

    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(BitBtn_Zurueck);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bevel);
    layout->addWidget(Label_Bemerkungen);
    layout->addWidget(DBMemo_Bemerkungen);
    layout->addLayout(unten);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(DBImage_Motiv, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu_Bild->popup(DBImage_Motiv->mapToGlobal(pos)); });
    connectGuarded(BitBtn_Bildladen, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_BildladenClick(); });
    connectGuarded(MI_Loeschen, &QAction::triggered, this, m_ui, [this](bool) { MI_LoeschenClick(); });
    connectGuarded(BitBtn_Zurueck, &QPushButton::clicked, this, m_ui,
                   [this](bool) { BitBtn_ZurueckClick(); });
}

QString TFilminfoformular::bildFilter()
{
    return QStringLiteral(
        "Alle Dateien (*.bmp;*.png;*.jpg;*.jpeg;*.emf;*.wmf)|*.bmp;*.png;*.jpg;*.jpeg;*.emf;*.wmf"
        "|Bitmaps (*.bmp)|*.bmp"
        "|PNG-Bilder (*.png)|*.png"
        "|JPEG-Bilder (*.jpg;*.jpeg)|*.jpg;*.jpeg"
        "|Erweiterte Metadateien (*.emf)|*.emf"
        "|Metadateien (*.wmf)|*.wmf");
}

void TFilminfoformular::setFilmname(const QString& filmname)
{
    setWindowTitle(QStringLiteral("Zusatzinformation über ") + filmname);
}

void TFilminfoformular::filmnameUebernehmen()
{
    setFilmname(filmDa() ? m_filme.asString(kFilmname) : QString());
}

bool TFilminfoformular::filmDa() const
{
    if (!m_filme.isActive())
        return false;
    return m_filme.state() != store::Dataset::State::Browse || !m_filme.isEmpty();
}

// Runs `aendern` on the current film in edit mode and stores the film. When storing
// fails, an edit this dialog started is discarded, so the film stays as it was.
template <typename F> void TFilminfoformular::filmSpeichern(F aendern)
{
    const bool eigeneBearbeitung = m_filme.state() == store::Dataset::State::Browse;
    if (eigeneBearbeitung)
        m_filme.edit();
    try {
        aendern();
        m_filme.post();
    } catch (...) {
        if (eigeneBearbeitung && m_filme.state() != store::Dataset::State::Browse)
            m_filme.cancel();
        throw;
    }
}

void TFilminfoformular::zeigeBild(const QImage& bild)
{
    m_bild = bild;
    if (bild.isNull())
        DBImage_Motiv->clear();
    else
        DBImage_Motiv->setPixmap(QPixmap::fromImage(bild));
}

void TFilminfoformular::FormActivate()
{
    m_schliessenTrotzFehler = false;
    const bool da = filmDa();
    const bool vorhanden = da && m_filme.asBoolean(kBildVorhanden);
    BitBtn_Bildladen->setVisible(!vorhanden);
    BitBtn_Bildladen->setEnabled(da);
    MI_Loeschen->setEnabled(vorhanden);

    QImage bild;
    if (da) {
        const QByteArray bytes = m_filme.blob(kBild);
        if (!bytes.isEmpty())
            bild = loadPictureData(bytes).bild;
    }
    zeigeBild(bild);

    {
        const QSignalBlocker still(DBMemo_Bemerkungen);
        DBMemo_Bemerkungen->setPlainText(da ? m_filme.memo(kBeschreibung) : QString());
    }
    DBMemo_Bemerkungen->setReadOnly(!da);
    DBMemo_Bemerkungen->document()->setModified(false);
}

void TFilminfoformular::BitBtn_BildladenClick()
{
    DBMemo_BemerkungenExit(); // a description typed meanwhile is kept
    if (!filmDa())
        return;
    const QString pfad = m_ui.chooseFile(bildFilter(), m_bildVerzeichnis);
    if (pfad.isEmpty())
        return;
    m_bildVerzeichnis = QFileInfo(pfad).absolutePath();

    // The picture is read and converted before the film is touched: a file that
    // cannot be loaded leaves the film exactly as it was.
    const BildErgebnis geladen = loadPicture(pfad);
    const QByteArray bitmap = geladen.ok() ? toBitmapBytes(geladen.bild) : QByteArray();
    const BildErgebnis gespeichert = bitmap.isEmpty() ? BildErgebnis{} : loadPictureData(bitmap);
    if (!gespeichert.ok()) {
        m_ui.error(geladen.ok() ? kBildFehler : bildFehlerMeldung(geladen));
        return;
    }
    filmSpeichern([&] {
        m_filme.setBlob(kBild, bitmap);
        m_filme.setBoolean(kBildVorhanden, true);
    });
    zeigeBild(gespeichert.bild);
    BitBtn_Bildladen->setVisible(false);
    MI_Loeschen->setEnabled(true);
}

void TFilminfoformular::MI_LoeschenClick()
{
    DBMemo_BemerkungenExit();
    if (!filmDa())
        return;
    filmSpeichern([&] {
        m_filme.setNull(kBild);
        m_filme.setBoolean(kBildVorhanden, false);
    });
    zeigeBild(QImage());
    BitBtn_Bildladen->setVisible(true);
    MI_Loeschen->setEnabled(false);
}

void TFilminfoformular::DBMemo_BemerkungenExit()
{
    if (!DBMemo_Bemerkungen->document()->isModified() || !filmDa())
        return;
    const QString text = DBMemo_Bemerkungen->toPlainText();
    filmSpeichern([&] { m_filme.setMemo(kBeschreibung, text); });
    DBMemo_Bemerkungen->document()->setModified(false);
}

void TFilminfoformular::BitBtn_ZurueckClick()
{
    accept(); // done() stores a changed description first
}

void TFilminfoformular::done(int result)
{
    // Every way out (the button, Escape) stores a changed description. When that
    // fails the dialog stays open once, with the text, so that nothing is lost unseen.
    bool gespeichert = false;
    guarded(m_ui, [&] {
        DBMemo_BemerkungenExit();
        gespeichert = true;
    });
    if (!gespeichert && !m_schliessenTrotzFehler) {
        m_schliessenTrotzFehler = true;
        return;
    }
    m_schliessenTrotzFehler = false;
    QDialog::done(result);
}

void TFilminfoformular::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        guarded(m_ui, [this] { FormActivate(); });
}

bool TFilminfoformular::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DBMemo_Bemerkungen && event->type() == QEvent::FocusOut)
        guarded(m_ui, [this] { DBMemo_BemerkungenExit(); });
    return QDialog::eventFilter(watched, event);
}

} // namespace quorbel
