#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250, the code page of every 8-bit text the program reads or writes.
// Our own table instead of the system codec: every byte maps to one UTF-16 unit and back, including
// the five bytes the code page leaves undefined (they map to the C1 controls U+0081 …), so coded
// settings values survive the round trip through QString byte for byte.
namespace Cp1250 {

QString toUnicode(QByteArrayView bytes);
QString toUnicode(char byte);
// Characters the code page cannot hold become '?'.
QByteArray fromUnicode(QStringView text);
char fromUnicode(QChar c);

} // namespace Cp1250
