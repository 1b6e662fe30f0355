#pragma once

#include <QString>

namespace settings {

// A whole number as the settings fields take it: decimal digits with an optional minus
// sign, within 32 bits. Nothing else, not even a space, is accepted.
bool toWholeNumber(const QString& text, qint32* value);

// The refusal of a text that is no whole number.
QString notAnInteger(const QString& text);
// The refusal of a day count outside 0 .. kHoechsteTage.
QString notADayCount(const QString& text);

} // namespace settings
