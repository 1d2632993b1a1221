#pragma once

#include <QMimeData>
#include <QStringList>
#include <QUrl>

// The local files of a drag from the desktop, in the order the desktop lists them.
inline QStringList droppedFilePaths(const QMimeData *mime)
{
    QStringList paths;
    if (!mime)
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}
