#include "core/EventLog.h"

#include "storage/AtomicFile.h"
#include "storage/Cp1250.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

using namespace Qt::StringLiterals;

QString EventLog::timestamp() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    const QString date = m_shortDateForm ? now.date().toString(u"yyyy/MM/dd"_s)
                                         : locale.toString(now.date(), QLocale::ShortFormat);
    // The long time form without the time zone, as the desktop shows it.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(u't').remove(u'z');
    return date + u' ' + now.time().toString(timeFormat.trimmed());
}

void EventLog::logEvent(int level, const QString &text)
{
    if (level > m_filter || m_path.isEmpty())
        return;

    QByteArray old;
    {
        QFile in(m_path);
        if (in.exists()) {
            if (!in.open(QIODevice::ReadOnly))
                return;
            old = in.readAll();
        }
    }
    // Every line end becomes CR LF, including a last line without one.
    QByteArray out;
    out.reserve(old.size() + text.size() + 40);
    qsizetype start = 0;
    for (qsizetype i = 0; i < old.size(); ++i) {
        const char c = old[i];
        if (c != '\r' && c != '\n')
            continue;
        out.append(QByteArrayView(old).sliced(start, i - start)).append("\r\n");
        if (c == '\r' && i + 1 < old.size() && old[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < old.size())
        out.append(QByteArrayView(old).sliced(start)).append("\r\n");
    out.append(Cp1250::fromUnicode(timestamp() + u" - "_s + text)).append("\r\n");

    AtomicFile::write(m_path, out);
}

std::optional<QString> EventLog::readAll() const
{
    QFile in(m_path);
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Cp1250::toUnicode(in.readAll());
}

bool EventLog::clear()
{
    return AtomicFile::write(m_path, QByteArrayView());
}
