#pragma once

#include "core/RecoveryStore.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class Workspace;

// Keeps a recovery copy of every modified document of the editors while the program runs: each
// editor joins with its document's writer, and a timer on the interface thread writes a copy a few
// seconds after a change (never while nothing changed), removes it once the document is saved or its
// changes dropped, and removes them all at a normal exit. At start-up it offers the copies a crashed
// run left and hands each to the editor of its kind.
class RecoveryKeeper {
public:
    struct Editor {
        QString slot;      // the copy's name in the run folder: "pytanie", "test" …
        QString extension; // the document's, without the dot
        std::function<bool()> modified;
        std::function<int()> revision; // moves with every change; empty: copied at every round
        std::function<bool(const QString &path)> writeCopy;
        std::function<QString()> original; // where the document belongs; empty when never saved
        // Opens the copy in the editor, modified, saving to `original`.
        std::function<void(const QString &copy, const QString &original)> restore;
    };

    explicit RecoveryKeeper(Workspace &ws);
    ~RecoveryKeeper();

    void add(Editor editor) { m_editors.push_back(std::move(editor)); }

    // The store in `folder` (this run's subfolder) and the timer; false when the folder cannot be made.
    bool start(const QString &folder, int intervalMs = 3000);
    // What the timer does: copies of changed documents written, copies of saved ones removed.
    void tick();
    // Start-up: the copies of crashed runs offered, and Yes opens each in its editor, one after the other.
    void offerLeftBehind();
    // A normal exit: this run's copies go.
    void finish();

    RecoveryStore *store() { return m_store.get(); }

private:
    Workspace &m_ws;
    std::unique_ptr<RecoveryStore> m_store;
    std::vector<Editor> m_editors;
    std::map<QString, int> m_written; // slot -> revision of its copy on disk
    QTimer m_timer;
    bool m_ticking = false;
};
