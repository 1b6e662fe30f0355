#pragma once

// The search for cassettes with room for a film of a given length: lists every
// recordable cassette with enough free minutes and suggests the one that the film
// would fill best. Reads the tables only; the page shows the returned lines.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace store {
class Dataset;
}
namespace settings {
struct Einstellungen;
}

namespace quorbel {

class Interaction;

class FreierPlatz
{
public:
    // `einstellungen` is read at every search.
    FreierPlatz(store::Dataset& kassetten, store::Dataset& filme, store::Dataset& aufnahmetimer,
                Interaction& ui, const settings::Einstellungen& einstellungen);

    // Asks for the minutes and searches. The new lines of the result list, or nothing
    // when the list is to keep its lines (empty or refused answer). The lines go to
    // zeigeErgebnis before the zero-length warning and the suggestion are shown.
    std::optional<QStringList> BitBtn_FreienPlatzSuchenClick();

    // Fills the page's result list.
    std::function<void(const QStringList&)> zeigeErgebnis;

    // The typed minutes as a signed 32-bit whole number; blanks around and a leading
    // sign are allowed. Nothing for any other text.
    static std::optional<int> Minuten_Lesen(const QString& text);
    // The suggestion for cassette `nummer` leaving `rest` minutes free.
    static QString Tip_Text(int nummer, qint64 rest);

private:
    QString vorschlag() const;

    store::Dataset& m_kassetten;
    store::Dataset& m_filme;
    store::Dataset& m_timer;
    Interaction& m_ui;
    const settings::Einstellungen& m_einstellungen;
};

} // namespace quorbel
