#pragma once

#include <QString>
#include <QUrl>

// The help pages: HTML files in the Pomoc folder next to the program (or in the installed data
// folder, ../share/zadanix/Pomoc), opened with the desktop's default handler.

// The page's address under `programFolder` (empty: the executable's folder); that folder's Pomoc when
// the page is in neither place, so that the handler reports the missing file.
QUrl helpPageUrl(const QString &page, const QString &programFolder = {});
// Hands the page to the desktop; false when no handler took it.
bool openHelpPage(const QString &page, const QString &programFolder = {});
