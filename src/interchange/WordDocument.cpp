#include "interchange/WordDocument.h"

QString WordBlock::text() const
{
    QString s;
    for (const WordRun &r : runs)
        s += r.text;
    return s;
}

namespace WordText {

QString plain(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case 0x00A0: // no-break space
        case 0x2007: // figure space
        case 0x202F: // narrow no-break space
        case 0x2002:
        case 0x2003:
        case 0x2009:
            out += u' ';
            break;
        case 0x00AD: // soft hyphen
        case 0x200B:
        case 0x200C:
        case 0x200D:
        case 0xFEFF:
            break;
        case 0x2011: // non-breaking hyphen
            out += u'-';
            break;
        default:
            if (c.unicode() >= 32 || c == u'\n' || c == u'\t')
                out += c;
        }
    }
    return out;
}

} // namespace WordText
