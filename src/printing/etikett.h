#pragma once

// The cassette label: the titles of one cassette's films in a frame of 148.4 by
// 20.1 mm, one line per film, centred on the page and spread over the frame's height.

#include "reportlayout.h"

#include <QString>
#include <QStringList>
#include <array>
#include <settings/einstellungen.h>

namespace store {
class Dataset;
}
class QWidget;

namespace quorbel {
class Interaction;
}

namespace quorbel::druck {

struct EtikettEinstellungen
{
    QString Schriftart_der_Etiketten = QStringLiteral("Arial");
    // Index 0 is the entry for one film, index 3 the one for four films.
    std::array<settings::EtikettEintrag, 4> Etiketten = {{{16, 0}, {16, 0}, {16, 0}, {8, 0}}};

    static EtikettEinstellungen aus(const settings::Einstellungen& e);
};

// The frame in layout units.
inline constexpr int kRahmenLinks = 116;
inline constexpr int kRahmenOben = 38;
inline constexpr int kRahmenBreite = 561;
inline constexpr int kRahmenHoehe = 76;

// The titles of all films of the dataset, in its order. The dataset's display is
// suspended meanwhile, and the film that was current is current again afterwards.
QStringList etikettFilmeLesen(store::Dataset& filme);

// The label page for these titles: elements QR_Rahmen and QRLabel1 .. QRLabel4.
// With more than four films, three titles are printed and the fourth line counts the
// others ("… und 3 weitere"); the font then shrinks until no line overlaps another
// or leaves the frame.
report::ReportPage etikett(const EtikettEinstellungen& e, const QStringList& titel);

// The work of the label button: the label of the films of `filme` (the current
// cassette's), shown in the preview until it is closed.
void etikettZeigen(Interaction& ui, const settings::Einstellungen& e, store::Dataset& filme,
                   QWidget* parent = nullptr);

} // namespace quorbel::druck
