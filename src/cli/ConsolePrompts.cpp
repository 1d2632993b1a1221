#include "ConsolePrompts.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

ConsolePrompts::ConsolePrompts(QTextStream &err) : m_err(err) {}

QStringList ConsolePrompts::takeMessages()
{
    return std::exchange(m_kept, {});
}

QString ConsolePrompts::oneLine(const QString &text)
{
    QString line = text;
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line.trimmed();
}

MessageResult ConsolePrompts::showMessage(MessageKind kind, MessageIcon, const QString &text)
{
    const QString line = oneLine(text);
    if (m_collecting) {
        m_kept.append(line);
    } else {
        m_err << u"zadanix: "_s << line << u'\n';
        m_err.flush();
    }
    return kind == MessageKind::CloseOnly ? MessageResult::Close : MessageResult::No;
}

QString ConsolePrompts::openFileName(const FileDialogRequest &)
{
    return {};
}

QString ConsolePrompts::saveFileName(const FileDialogRequest &)
{
    return {};
}

QString ConsolePrompts::browseFolder(const QString &, const QString &, const QString &)
{
    return {};
}

void ConsolePrompts::showSavedClock(int, int) {}

ClashAnswer ConsolePrompts::resolveTextClash(const QString &, const QString &, const QString &)
{
    return {};
}

ClashAnswer ConsolePrompts::resolveImageClash(const QString &, const QByteArray &, const QString &,
                                              const QByteArray &, const QString &)
{
    return {};
}

void ConsolePrompts::openHelpPage(const QString &) {}
