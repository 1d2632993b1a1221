#pragma once

#include "storage/DocumentLock.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <memory>

class Workspace;

// Recovery copies of modified documents, so that a crash of the program or the machine costs at most
// the work since the last copy. They live in a folder of their own beside the working files (not in
// Temp, which start-up empties), one subfolder per run. A run holds a lock on its subfolder while it
// lives, so a second editor running at the same time never takes its copies, and a run that ended
// without removing its folder is recognised at the next start by the lock being free.
//
// The store only keeps the files: each editor writes its copy through its own document writer to
// copyPath() and then records the original path and time.
class RecoveryStore {
public:
    struct Copy {
        QString file;     // the recovery copy, a document of the original's kind
        QString original; // where the document belongs; empty for one never saved
        QDateTime writtenAt;
        QString runFolder;
        bool recordRead = true; // false: the record beside the copy is missing or damaged
    };

    // `folder`: the recovery folder, e.g. the editor folder's "Odzysk".
    explicit RecoveryStore(const QString &folder);
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Creates this run's subfolder and takes its lock; false when the folder cannot be made.
    bool start();
    QString folder() const { return m_folder; }
    QString runFolder() const { return m_runFolder; }

    // Where the copy of the document an editor keeps under `slot` ("test", "pytanie" ...) is written;
    // `extension` is the document's, without the dot.
    QString copyPath(const QString &slot, const QString &extension) const;
    // After the writer wrote copyPath(): where the document belongs and when the copy was made.
    bool recordCopy(const QString &slot, const QString &extension, const QString &original,
                    const QDateTime &writtenAt);
    // The document was saved or its changes dropped.
    void removeCopy(const QString &slot, const QString &extension);
    // A normal exit: this run's folder goes.
    void removeAll();

    // The copies of runs that are no longer alive, oldest first. Their runs stay locked by this
    // store until the copies are dropped, kept aside or released, so no other editor offers them too.
    QList<Copy> leftBehind();
    // A copy restored or declined: removed, with its run's folder once that is empty.
    void drop(const Copy &copy);
    // A copy that cannot be read: moved to the "Uszkodzone" folder, never deleted.
    QString keepAside(const Copy &copy);
    // Lets other runs see the copies still left (an answer for later).
    void releaseLeftBehind();

private:
    void removeRunIfEmpty(const QString &runFolder);

    QString m_folder;
    QString m_runFolder;
    DocumentLock m_runLock;
    std::map<QString, std::unique_ptr<DocumentLock>> m_claimed; // run folder -> its lock
};

// Start-up: offers the copies left by a run that did not end normally through the message box. Yes
// returns them for the editors to open (each marked modified, with its original path, and then
// dropped); No removes them; closing the box keeps them for the next start. Copies without a
// readable record are kept aside and reported.
QList<RecoveryStore::Copy> offerRecovery(Workspace &ws, RecoveryStore &store);
