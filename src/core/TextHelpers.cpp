#include "core/TextHelpers.h"

using namespace Qt::StringLiterals;

QString todayText(const QDate &today)
{
    return today.toString(u"yyyy-MM-dd"_s);
}

QString normaliseText(const QString &s)
{
    QString out;
    out.reserve(s.size());
    bool lastWasSpace = false;
    for (QChar c : s) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
        if (c == u' ') {
            if (lastWasSpace)
                continue;
            lastWasSpace = true;
        } else {
            lastWasSpace = false;
        }
        out.append(c);
    }
    return out;
}

QString shortenText(const QString &s, int n)
{
    if (s.size() <= n)
        return s;
    for (int pos = n; pos >= 1; --pos) {
        const QChar c = s[pos - 1];
        if (c == u' ' || c == u'.')
            return s.left(pos);
    }
    return {};
}
