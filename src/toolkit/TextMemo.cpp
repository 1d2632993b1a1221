#include "toolkit/TextMemo.h"

#include <QTextDocument>

using namespace Qt::StringLiterals;

TextMemo::TextMemo(QWidget *parent) : QPlainTextEdit(parent) {}

void TextMemo::setStoredText(const QString &text)
{
    m_stored = text;
    setPlainText(text);
    m_shown = document()->toRawText();
}

QString TextMemo::storedText() const
{
    const QString raw = document()->toRawText();
    if (raw == m_shown)
        return m_stored;
    // Raw rather than plain text: the plain text would also turn no-break spaces into blanks.
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n')
            out += u"\r\n"_s;
        else if (c != u'\r')
            out += c;
    }
    return out;
}
