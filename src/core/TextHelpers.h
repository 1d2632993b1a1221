#pragma once

#include <QDate>
#include <QString>

// Today's date as "yyyy-MM-dd".
QString todayText(const QDate &today = QDate::currentDate());
// Line breaks become spaces and every run of spaces one space; the ends are not trimmed.
QString normaliseText(const QString &s);
// s when it has at most n characters; otherwise s up to the last blank or full stop at or before
// position n (1-based), or empty when there is none.
QString shortenText(const QString &s, int n = 70);
