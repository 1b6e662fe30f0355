// The fixed design of the main window: menu, clock panel, status bar, pictures and
// the controls of the six pages.

#include "bilder.h"
#include "hauptformular.h"

#include <QAction>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quorbel {

namespace {

QString plain(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

template <typename W>
W* named(W* widget, const QString& name, const QString& accessibleName, const QString& hint = QString())
{
    widget->setObjectName(name);
    widget->setAccessibleName(accessibleName);
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                    const QRect& geometry)
{
    auto* b = named(new QPushButton(caption, parent), name, plain(caption), hint);
    b->setGeometry(geometry);
    return b;
}

QToolButton* pictureButton(QWidget* parent, const QString& name, QStyle::StandardPixmap icon,
                           const QString& hint, const QRect& geometry)
{
    auto* b = named(new QToolButton(parent), name, hint, hint);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setIconSize(QSize(20, 20));
    b->setGeometry(geometry);
    b->setEnabled(false);
    return b;
}

QTableView* grid(QWidget* parent, const QString& name, const QString& accessibleName, const QString& hint,
                 const QRect& geometry, bool readOnly)
{
    auto* g = named(new QTableView(parent), name, accessibleName, hint);
    g->setGeometry(geometry);
    g->setCursor(Qt::PointingHandCursor);
    g->setSelectionBehavior(readOnly ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setAlternatingRowColors(true);
    g->verticalHeader()->setDefaultSectionSize(20);
    g->verticalHeader()->setFixedWidth(14);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setHighlightSections(false);
    if (readOnly)
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    else
        g->setEditTriggers(QAbstractItemView::AllEditTriggers);
    return g;
}

QLineEdit* editIn(QGroupBox* group, const QString& name, const QString& hint)
{
    auto* e = named(new QLineEdit(group), name, plain(group->title()), hint);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(8, 2, 8, 6);
    layout->addWidget(e);
    return e;
}

QGroupBox* group(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry,
                 const QString& hint = QString())
{
    auto* g = named(new QGroupBox(caption, parent), name, plain(caption), hint);
    g->setGeometry(geometry);
    return g;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

} // namespace

void THauptformular::Seiten_Aufbauen()
{
    // Menu
    Hauptmenu = menuBar();
    Hauptmenu->setObjectName(QStringLiteral("Hauptmenu"));
    Hauptmenu->setAccessibleName(QStringLiteral("Hauptmenü"));
    Datei1 = Hauptmenu->addMenu(QStringLiteral("&Datei"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    auto action = [this](const QString& name, const QString& caption) {
        QAction* a = Datei1->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    Neu1 = action(QStringLiteral("Neu1"), QStringLiteral("&Neu"));
    ffnen1 = action(QStringLiteral("ffnen1"), QStringLiteral("&Öffnen"));
    Schliessen_Menu = action(QStringLiteral("Schliessen_Menu"), QStringLiteral("&Schliessen"));
    Schliessen_Menu->setEnabled(false);
    Datei1->addSeparator();
    Programmbeenden1 = action(QStringLiteral("Programmbeenden1"), QStringLiteral("Programm &beenden"));

    // Client area of 569 x 605 pixels with everything placed on it.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Hauptformular_Client"));
    client->setAccessibleName(QStringLiteral("Quorbel 98"));
    client->setFixedSize(569, 605);
    setCentralWidget(client);

    Hintergrund = new QWidget(client);
    Hintergrund->setObjectName(QStringLiteral("Hintergrund"));
    Hintergrund->setAccessibleName(QStringLiteral("Hintergrund"));
    Hintergrund->setGeometry(0, 0, 569, 605);
    Hintergrund->setAutoFillBackground(true);

    Image1 = named(new QLabel(client), QStringLiteral("Image1"), QStringLiteral("Quorbel 98"));
    Image1->setGeometry(32, 112, 497, 137);
    Image1->setScaledContents(true);
    Image1->setPixmap(bild(QStringLiteral("schriftzug"), Image1->size()));
    Image2 = named(new QLabel(client), QStringLiteral("Image2"), QStringLiteral("Videokassette"));
    Image2->setGeometry(200, 264, 169, 153);
    Image2->setScaledContents(true);
    Image2->setPixmap(bild(QStringLiteral("kassette"), Image2->size()));

    Panel_Uhrzeit = named(new QLabel(client), QStringLiteral("Panel_Uhrzeit"), QStringLiteral("Uhrzeit"));
    Panel_Uhrzeit->setGeometry(216, 16, 137, 25);
    Panel_Uhrzeit->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel_Uhrzeit->setAlignment(Qt::AlignCenter);
    Panel_Uhrzeit->setVisible(false);

    Pagecontrol = named(new QTabWidget(client), QStringLiteral("Pagecontrol"), QStringLiteral("Seiten"));
    Pagecontrol->setGeometry(12, 58, 545, 511);
    Pagecontrol->setVisible(false);
    // A compact font on the tabs, so that all six fit side by side.
    QFont tabFont = Pagecontrol->tabBar()->font();
    tabFont.setPointSizeF(tabFont.pointSizeF() > 0 ? tabFont.pointSizeF() * 0.85 : 8.0);
    Pagecontrol->tabBar()->setFont(tabFont);

    StatusBar = named(new QStatusBar(client), QStringLiteral("StatusBar"), QStringLiteral("Statuszeile"));
    StatusBar->setGeometry(0, 586, 569, 19);
    StatusBar->setSizeGripEnabled(false);
    StatusBar->setAutoFillBackground(true);
    StatusBar_Panel0 = new QLabel(StatusBar);
    StatusBar_Panel0->setObjectName(QStringLiteral("StatusBar_Panel0"));
    StatusBar_Panel0->setFixedWidth(270);
    StatusBar_Panel0->setAlignment(Qt::AlignCenter);
    StatusBar_Panel0->setText(QStringLiteral("Videokassetten-Verwaltung"));
    StatusBar_Panel1 = new QLabel(StatusBar);
    StatusBar_Panel1->setObjectName(QStringLiteral("StatusBar_Panel1"));
    StatusBar_Panel1->setAlignment(Qt::AlignCenter);
    StatusBar->addWidget(StatusBar_Panel0);
    StatusBar->addWidget(StatusBar_Panel1, 1);
    StatusBar->setEnabled(false);

    Timer_Uhrzeit = new QTimer(this);
    Timer_Uhrzeit->setObjectName(QStringLiteral("Timer_Uhrzeit"));
    Timer_Uhrzeit->setInterval(5000);

    Seite_Eingabe();
    Seite_Uebersicht();
    Seite_Verleihmanager();
    Seite_Aufnahmetimer();
    Tab_Einstellungen = new QWidget;
    Tab_Einstellungen->setObjectName(QStringLiteral("Tab_Einstellungen"));
    Tab_Einstellungen->setAccessibleName(QStringLiteral("Einstellungen"));
    Pagecontrol->addTab(Tab_Einstellungen, QStringLiteral("Ei&nstellungen"));
    Seite_Info();
    Pagecontrol->setCurrentWidget(Tab_Eingabe);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void THauptformular::Seite_Eingabe()
{
    QWidget* page = Tab_Eingabe = new QWidget;
    named(page, QStringLiteral("Tab_Eingabe"), QStringLiteral("Eingabe"));
    Pagecontrol->addTab(page, QStringLiteral("&Eingabe"));

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

    DBGrid_Filme = grid(page, QStringLiteral("DBGrid_Filme"), QStringLiteral("Filme der Kassette"),
                        QStringLiteral("Hier werden die Filme der aktuellen Kassette angezeigt & bearbeitet"),
                        QRect(8, 98, 521, 250), false);

    BitBtn_Filmloeschen = button(page, QStringLiteral("BitBtn_Filmloeschen"), QStringLiteral("Film &löschen"),
                                 QStringLiteral("Löscht markierten Film"), QRect(8, 354, 130, 28));

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

void THauptformular::Seite_Uebersicht()
{
    QWidget* page = Tab_Uebersicht = new QWidget;
    named(page, QStringLiteral("Tab_Uebersicht"), QStringLiteral("Filmübersicht"));
    Pagecontrol->addTab(page, QStringLiteral("&Filmübersicht"));

    DBGrid_Filmuebersicht =
        grid(page, QStringLiteral("DBGrid_Filmuebersicht"), QStringLiteral("Filmübersicht"),
             QStringLiteral("Übersicht über alle Filme"), QRect(8, 8, 521, 300), true);

    GroupBox_Suchen =
        group(page, QStringLiteral("GroupBox_Suchen"), QStringLiteral("S&uche nach Filmname"),
              QRect(8, 316, 252, 52), QStringLiteral("Sucht bestimmten Film nach seinem Namen"));
    Edit_Suchen = editIn(GroupBox_Suchen, QStringLiteral("Edit_Suchen"),
                         QStringLiteral("Sucht bestimmten Film nach seinem Namen"));

    RadioGroup_Sortieren =
        new RadioGroup(QStringLiteral("RadioGroup_Sortieren"), QStringLiteral("Sortieren nach..."),
                       {QStringLiteral("...&Kassette"), QStringLiteral("...Film&name"),
                        QStringLiteral("...Film&länge"), QStringLiteral("...&Genre")},
                       2, page);
    RadioGroup_Sortieren->setToolTip(QStringLiteral("Sortiert die Filmübersicht nach bestimmten Kriterien"));
    RadioGroup_Sortieren->setGeometry(270, 316, 259, 72);
    RadioGroup_Sortieren->setItemIndex(0);

    GroupBox1 = group(page, QStringLiteral("GroupBox1"), QStringLiteral("Anzeigen"), QRect(8, 376, 252, 96));
    RadioButton_AlleFilme = named(new QRadioButton(QStringLiteral("Alle Filme"), GroupBox1),
                                  QStringLiteral("RadioButton_AlleFilme"), QStringLiteral("Alle Filme"));
    RadioButton_AlleFilme->setGeometry(12, 22, 200, 20);
    RadioButton_AlleFilme->setChecked(true);
    RadioButton_NeueFilme = named(new QRadioButton(QStringLiteral("Neue Filme seit"), GroupBox1),
                                  QStringLiteral("RadioButton_NeueFilme"), QStringLiteral("Neue Filme seit"));
    RadioButton_NeueFilme->setGeometry(12, 46, 130, 20);
    DateTimePicker_Filter = named(new QDateEdit(GroupBox1), QStringLiteral("DateTimePicker_Filter"),
                                  QStringLiteral("Neue Filme seit Datum"));
    DateTimePicker_Filter->setCalendarPopup(true);
    DateTimePicker_Filter->setGeometry(142, 44, 100, 24);
    DateTimePicker_Filter->setVisible(false);

    BitBtn_Drucken =
        button(page, QStringLiteral("BitBtn_Drucken"), QStringLiteral("Filmliste aus&drucken"),
               QStringLiteral("Druckt die Filmübersicht - gleich sortiert - aus."), QRect(270, 440, 259, 30));
    BitBtn_Drucken->setEnabled(false);
}

void THauptformular::Seite_Verleihmanager()
{
    QWidget* page = Tab_Verleihmanager = new QWidget;
    named(page, QStringLiteral("Tab_Verleihmanager"), QStringLiteral("Verleihmanager"));
    Pagecontrol->addTab(page, QStringLiteral("&Verleihmanager"));

    DBGrid_Verliehen =
        grid(page, QStringLiteral("DBGrid_Verliehen"), QStringLiteral("Verliehene Kassetten"),
             QStringLiteral("Übersicht über alle verliehene Kassetten"), QRect(8, 8, 521, 340), true);
    RadioGroup_Sortieren2 =
        new RadioGroup(QStringLiteral("RadioGroup_Sortieren2"), QStringLiteral("Sortieren nach..."),
                       {QStringLiteral("... &Kassette"), QStringLiteral("... &Datum"),
                        QStringLiteral("... &Ausleihende Person")},
                       1, page);
    RadioGroup_Sortieren2->setToolTip(
        QStringLiteral("Sortiert alle verliehenen Kassetten nach bestimmten Kriterium"));
    RadioGroup_Sortieren2->setGeometry(8, 356, 250, 104);
    RadioGroup_Sortieren2->setItemIndex(0);
    BitBtn_Zurueckbekommen =
        button(page, QStringLiteral("BitBtn_Zurueckbekommen"), QStringLiteral("&Zurückbekommen"),
               QStringLiteral("Löscht den markierten Film aus der Verleihübersicht und gibt ihn wieder frei"),
               QRect(330, 430, 199, 30));
}

void THauptformular::Seite_Aufnahmetimer()
{
    QWidget* page = Tab_Aufnahmetimer = new QWidget;
    named(page, QStringLiteral("Tab_Aufnahmetimer"), QStringLiteral("Aufnahmetimer"));
    Pagecontrol->addTab(page, QStringLiteral("&Aufnahmetimer"));

    DBGrid_ATimer = grid(page, QStringLiteral("DBGrid_ATimer"), QStringLiteral("Ausstehende Aufnahmen"),
                         QStringLiteral("Übersicht über ausstehende Aufnahmen"), QRect(8, 8, 521, 260), true);
    BitBtn_NeuerFilm =
        button(page, QStringLiteral("BitBtn_NeuerFilm"), QStringLiteral("&Neuen Film eingeben"),
               QStringLiteral("Fügt neuen Film in die Tabelle ein"), QRect(8, 278, 200, 30));
    BitBtn_Aufgenommen =
        button(page, QStringLiteral("BitBtn_Aufgenommen"), QStringLiteral("Film &aufgenommen"),
               QStringLiteral("Löscht Film aus der Liste"), QRect(8, 314, 200, 30));
    // The window's default button: Enter on the page presses it.
    BitBtn_Aufgenommen->setDefault(true);
    BitBtn_FreienPlatzSuchen =
        button(page, QStringLiteral("BitBtn_FreienPlatzSuchen"), QStringLiteral("Freien Platz &suchen"),
               QStringLiteral("Sucht freien Platz in der Datenbank"), QRect(222, 278, 307, 30));
    ListBox_FreieKassetten = named(new QListWidget(page), QStringLiteral("ListBox_FreieKassetten"),
                                   QStringLiteral("Kassetten mit freiem Platz"));
    ListBox_FreieKassetten->setGeometry(222, 314, 307, 158);
}

void THauptformular::Seite_Info()
{
    QWidget* page = TabSheet2 = new QWidget;
    named(page, QStringLiteral("TabSheet2"), QStringLiteral("Info"));
    Pagecontrol->addTab(page, QStringLiteral("&Info"));

    auto* logo = new QLabel(page);
    logo->setObjectName(QStringLiteral("Image_Info"));
    logo->setAccessibleName(QStringLiteral("Quorbel 98"));
    logo->setGeometry(20, 24, 497, 137);
    logo->setScaledContents(true);
    logo->setPixmap(bild(QStringLiteral("schriftzug"), logo->size()));
    auto* cassette = new QLabel(page);
    cassette->setObjectName(QStringLiteral("Image_InfoKassette"));
    cassette->setAccessibleName(QStringLiteral("Videokassette"));
    cassette->setGeometry(28, 190, 169, 153);
    cassette->setScaledContents(true);
    cassette->setPixmap(bild(QStringLiteral("kassette"), cassette->size()));

    auto* text = new QLabel(page);
    text->setObjectName(QStringLiteral("Label_Info"));
    text->setGeometry(214, 186, 310, 170);
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setText(QStringLiteral("<p><b>Quorbel 98 - BDE Power Edition</b><br>Version 0.9.2 RELEASE</p>"
                                 "<p>Die Verwaltung für Ihre Videokassetten: Kassetten und Filme, "
                                 "Verleih, Aufnahmeplanung, Filmliste und Etiketten.</p>"
                                 "<p>Fragen, Wünsche und Fehlerberichte bitte an:<br>"
                                 "quorbel98@example.org</p>"));

    BitBtn_Dank = button(page, QStringLiteral("BitBtn_Dank"), QStringLiteral("Dan&ksagungen"), QString(),
                         QRect(214, 400, 150, 30));
    BitBtn_History = button(page, QStringLiteral("BitBtn_History"), QStringLiteral("Versions&geschichte"),
                            QString(), QRect(374, 400, 150, 30));
}

} // namespace quorbel
