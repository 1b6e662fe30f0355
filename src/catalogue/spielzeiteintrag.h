#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quorbel {

// One entry of the play-length lists: "E - " followed by the minutes of a blank
// tape ("E - 180"), or the word "Kaufvideo" for a bought tape. Entries come from the
// built-in list and from the hand-editable vocabulary file, so the minutes part is
// checked, never trusted.
class SpielzeitEintrag
{
public:
    enum class Art { Kaufvideo, Minuten, Ungueltig };

    static SpielzeitEintrag lesen(const QString& text);

    Art art() const { return m_art; }
    bool istKaufvideo() const { return m_art == Art::Kaufvideo; }
    bool istGueltig() const { return m_art != Art::Ungueltig; }
    // The minutes of a blank tape; empty for a bought tape or an unreadable entry.
    std::optional<int> minuten() const { return m_minuten; }
    const QString& text() const { return m_text; }

private:
    QString m_text;
    Art m_art = Art::Ungueltig;
    std::optional<int> m_minuten;
};

inline const QString kKaufvideo = QStringLiteral("Kaufvideo");

// True when the entry is exactly the word for a bought tape.
bool istKaufvideo(const QString& entry);

// The minutes of an entry: its text from the fifth character on as a decimal whole
// number. Empty when that text is not a whole number ("E - abc", "E - ", "Kaufvideo").
std::optional<int> spielzeitMinuten(const QString& entry);

// The play lengths that every installation offers, in their fixed order.
QStringList eingebauteSpielzeiten();

// Sorts entries as the dialogs' sorted lists show them: by their text, alphabetically
// without regard to case, in the user's locale; equal entries keep their order.
QStringList sortierteSpielzeiten(QStringList entries);

// The message shown when a chosen entry's minutes cannot be read.
QString ungueltigeSpielzeitMeldung(const QString& entry);

// The new fields of a cassette after a play-length change, or why it is refused.
struct SpielzeitAenderung
{
    enum class Art {
        Kaufvideo,    // becomes a bought tape: Spielzeit = spielzeit, Frei = 0, Original = true
        Spielzeit,    // becomes a blank tape of `spielzeit` minutes, Original = false, then recount
        ZuVieleFilme, // refused: more than one film for a bought tape
        ZuKurz,       // refused: the films run longer than the new play length
        Unlesbar      // refused: the entry's minutes are not a whole number
    };
    Art art = Art::Unlesbar;
    int spielzeit = 0;
    QString meldung; // the error message for a refusal
    bool abgelehnt() const { return !meldung.isEmpty(); }
};

// Decides a play-length change of a cassette that holds `filme` films running
// `gesamtlaenge` minutes together (an empty length counts as 0).
SpielzeitAenderung spielzeitAendern(const QString& entry, int filme, qint64 gesamtlaenge);

// The two refusals of a play-length change, lines joined by the message line break.
QString zuVieleFilmeMeldung();
QString zuKurzMeldung();

} // namespace quorbel
