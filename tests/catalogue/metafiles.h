#pragma once

// Tiny metafiles built byte by byte for the picture loader's tests: a red square
// of 100 by 100 units on a white page.

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>

namespace testing_support {

inline QByteArray emfRotesQuadrat()
{
    QByteArray records;
    {
        QDataStream s(&records, QIODevice::WriteOnly);
        s.setByteOrder(QDataStream::LittleEndian);
        // EMR_CREATEBRUSHINDIRECT: handle 1, solid, red (COLORREF 0x00bbggrr)
        s << quint32(39) << quint32(24) << quint32(1) << quint32(0) << quint32(0x000000FF) << quint32(0);
        // EMR_SELECTOBJECT handle 1
        s << quint32(37) << quint32(12) << quint32(1);
        // EMR_RECTANGLE 0,0 - 100,100
        s << quint32(43) << quint32(24) << qint32(0) << qint32(0) << qint32(100) << qint32(100);
        // EMR_EOF
        s << quint32(14) << quint32(20) << quint32(0) << quint32(16) << quint32(20);
    }
    const quint32 headerSize = 88;
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s << quint32(1) << headerSize;
    s << qint32(0) << qint32(0) << qint32(99) << qint32(99);     // bounds, device units
    s << qint32(0) << qint32(0) << qint32(2646) << qint32(2646); // frame, 0.01 mm
    s << quint32(0x464D4520) << quint32(0x00010000);
    s << quint32(headerSize + quint32(records.size())) << quint32(5); // bytes, records
    s << quint16(2) << quint16(0);                                    // handles, reserved
    s << quint32(0) << quint32(0) << quint32(0);                      // description, palette
    s << qint32(1024) << qint32(768) << qint32(271) << qint32(203);   // device pixels and mm
    out.append(records);
    return out;
}

inline QByteArray wmfRotesQuadrat()
{
    QByteArray records;
    {
        QDataStream s(&records, QIODevice::WriteOnly);
        s.setByteOrder(QDataStream::LittleEndian);
        s << quint32(5) << quint16(0x020B) << qint16(0) << qint16(0);     // SETWINDOWORG y, x
        s << quint32(5) << quint16(0x020C) << qint16(100) << qint16(100); // SETWINDOWEXT y, x
        s << quint32(7) << quint16(0x02FC) << quint16(0) << quint32(0x000000FF) << quint16(0); // brush
        s << quint32(4) << quint16(0x012D) << quint16(0); // SELECTOBJECT 0
        s << quint32(7) << quint16(0x041B) << qint16(100) << qint16(100) << qint16(0)
          << qint16(0);                     // RECTANGLE
        s << quint32(3) << quint16(0x0000); // EOF
    }
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
    const quint16 words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 100, 96, 0, 0};
    quint16 checksum = 0;
    for (quint16 w : words)
        checksum ^= w;
    for (quint16 w : words)
        s << w;
    s << checksum;
    // Metafile header: type, header words, version, size in words, objects, largest record, members.
    const quint32 words32 = quint32(9 + records.size() / 2);
    s << quint16(1) << quint16(9) << quint16(0x0300) << words32 << quint16(1) << quint32(7) << quint16(0);
    out.append(records);
    return out;
}

} // namespace testing_support
