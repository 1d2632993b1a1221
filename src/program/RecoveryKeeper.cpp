#include "program/RecoveryKeeper.h"

#include "core/Workspace.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

RecoveryKeeper::RecoveryKeeper(Workspace &ws) : m_ws(ws)
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
}

RecoveryKeeper::~RecoveryKeeper() = default;

bool RecoveryKeeper::start(const QString &folder, int intervalMs)
{
    m_store = std::make_unique<RecoveryStore>(folder);
    if (!m_store->start()) {
        m_ws.logEvent(0, u"Odzyskiwanie. Nie można utworzyć folderu kopii: "_s + folder);
        m_store.reset();
        return false;
    }
    m_timer.start(intervalMs);
    return true;
}

void RecoveryKeeper::tick()
{
    // A copy written while a message of the writer is up must not start another.
    if (!m_store || m_ticking)
        return;
    m_ticking = true;
    for (const Editor &e : m_editors) {
        const auto written = m_written.find(e.slot);
        if (!e.modified || !e.modified()) {
            if (written != m_written.end()) {
                m_store->removeCopy(e.slot, e.extension);
                m_written.erase(written);
            }
            continue;
        }
        // An editor that counts no changes has its copy written at every round while modified.
        const int revision = e.revision ? e.revision() : 0;
        if (e.revision && written != m_written.end() && written->second == revision)
            continue;
        if (e.writeCopy && e.writeCopy(m_store->copyPath(e.slot, e.extension)) &&
            m_store->recordCopy(e.slot, e.extension, e.original ? e.original() : QString(),
                                QDateTime::currentDateTime()))
            m_written[e.slot] = revision;
    }
    m_ticking = false;
}

void RecoveryKeeper::offerLeftBehind()
{
    if (!m_store)
        return;
    const QList<RecoveryStore::Copy> copies = offerRecovery(m_ws, *m_store);
    for (const RecoveryStore::Copy &copy : copies) {
        const QString extension = QFileInfo(copy.file).suffix();
        bool restored = false;
        for (const Editor &e : m_editors) {
            if (e.extension.compare(extension, Qt::CaseInsensitive) != 0 || !e.restore)
                continue;
            e.restore(copy.file, copy.original);
            restored = true;
            break;
        }
        if (restored) {
            m_store->drop(copy);
        } else {
            // No editor of this kind here: the copy is kept, never thrown away.
            const QString kept = m_store->keepAside(copy);
            m_ws.logEvent(0, u"Odzyskiwanie. Brak edytora dla kopii; odłożono ją: "_s + kept + u"."_s);
        }
    }
    m_store->releaseLeftBehind();
}

void RecoveryKeeper::finish()
{
    m_timer.stop();
    if (m_store)
        m_store->removeAll();
    m_written.clear();
}
