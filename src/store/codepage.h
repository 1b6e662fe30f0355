#pragma once

// Single-byte code pages of old table files (DOS 437, 850, 852, 865 and Windows
// 1250, 1251, 1252), both ways. The lower half is ASCII in all of them.

#include <QByteArray>
#include <QString>

namespace store {

bool codepageBekannt(int codepage);

// Bytes of a text field in the given code page as Unicode; an unknown code page reads
// as 1252.
QString ausCodepage(const char* bytes, qsizetype laenge, int codepage);

// Text in the given code page. A character the code page does not have becomes '?';
// `ersetzt` (when given) receives how many were replaced.
QByteArray inCodepage(const QString& text, int codepage, int* ersetzt = nullptr);

} // namespace store
