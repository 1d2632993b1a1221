#include "core/RecoveryStore.h"

#include "core/Workspace.h"
#include "storage/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kRunLock = u".run"_s;
const QString kRecord = u".info"_s;
const QString kAside = u"Uszkodzone"_s;

// A run folder is named after its process and the moment it started.
QString runName()
{
    return QString::number(QCoreApplication::applicationPid()) + u'-' +
           QString::number(QDateTime::currentMSecsSinceEpoch());
}

// Where locks are not supported the process named in the folder's name tells whether it lives.
bool processAlive(const QString &runFolder)
{
    bool ok = false;
    const qint64 pid = QFileInfo(runFolder).fileName().section(u'-', 0, 0).toLongLong(&ok);
    return ok && pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

QString describe(const RecoveryStore::Copy &copy)
{
    const QString name = copy.original.isEmpty() ? u"bez nazwy (."_s + QFileInfo(copy.file).suffix() + u')'
                                                 : QFileInfo(copy.original).fileName();
    return name + u", "_s + copy.writtenAt.toString(u"yyyy-MM-dd hh:mm:ss"_s);
}

} // namespace

RecoveryStore::RecoveryStore(const QString &folder) : m_folder(folder) {}

bool RecoveryStore::start()
{
    if (!QDir().mkpath(m_folder))
        return false;
    // A folder no other run has, even one started in the same millisecond.
    const QString base = m_folder + u'/' + runName();
    m_runFolder.clear();
    for (int n = 0; n < 100 && m_runFolder.isEmpty(); ++n) {
        if (QDir().mkdir(base + u'-' + QString::number(n)))
            m_runFolder = base + u'-' + QString::number(n);
    }
    if (m_runFolder.isEmpty())
        return false;
    QFile lock(m_runFolder + u'/' + kRunLock);
    if (!lock.open(QIODevice::WriteOnly))
        return false;
    lock.close();
    m_runLock.lock(lock.fileName()); // best effort: without locks the process id stands in
    return true;
}

QString RecoveryStore::copyPath(const QString &slot, const QString &extension) const
{
    return m_runFolder + u'/' + slot + u'.' + extension;
}

bool RecoveryStore::recordCopy(const QString &slot, const QString &extension, const QString &original,
                               const QDateTime &writtenAt)
{
    const QJsonObject record{{u"original"_s, original},
                             {u"writtenAt"_s, writtenAt.toString(Qt::ISODateWithMs)}};
    return AtomicFile::write(copyPath(slot, extension) + kRecord, QJsonDocument(record).toJson());
}

void RecoveryStore::removeCopy(const QString &slot, const QString &extension)
{
    QFile::remove(copyPath(slot, extension));
    QFile::remove(copyPath(slot, extension) + kRecord);
}

void RecoveryStore::removeAll()
{
    if (m_runFolder.isEmpty())
        return;
    m_runLock.release();
    QDir(m_runFolder).removeRecursively();
}

QList<RecoveryStore::Copy> RecoveryStore::leftBehind()
{
    QList<Copy> copies;
    const QDir root(m_folder);
    for (const QString &run : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString runFolder = root.filePath(run);
        if (runFolder == m_runFolder || run == kAside)
            continue;
        if (m_claimed.find(runFolder) == m_claimed.end()) {
            auto lock = std::make_unique<DocumentLock>();
            const DocumentLock::Result r = lock->lock(runFolder + u'/' + kRunLock);
            if (r == DocumentLock::Result::InUse ||
                (r == DocumentLock::Result::Unsupported && processAlive(runFolder)))
                continue; // that editor is still running
            m_claimed[runFolder] = std::move(lock);
        }
        const QDir dir(runFolder);
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            if (name == kRunLock || name.endsWith(kRecord))
                continue;
            Copy copy{dir.filePath(name), {}, {}, runFolder, false};
            QFile recordFile(copy.file + kRecord);
            if (recordFile.open(QIODevice::ReadOnly)) {
                const QJsonObject record = QJsonDocument::fromJson(recordFile.read(64 * 1024)).object();
                copy.original = record.value(u"original"_s).toString();
                copy.writtenAt =
                    QDateTime::fromString(record.value(u"writtenAt"_s).toString(), Qt::ISODateWithMs);
                copy.recordRead = copy.writtenAt.isValid();
            }
            if (!copy.writtenAt.isValid())
                copy.writtenAt = QFileInfo(copy.file).lastModified();
            copies << copy;
        }
    }
    std::stable_sort(copies.begin(), copies.end(),
                     [](const Copy &a, const Copy &b) { return a.writtenAt < b.writtenAt; });
    return copies;
}

void RecoveryStore::removeRunIfEmpty(const QString &runFolder)
{
    const QStringList left =
        QDir(runFolder).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
    if (left.size() > 1 || (left.size() == 1 && left.first() != kRunLock))
        return;
    m_claimed.erase(runFolder);
    QDir(runFolder).removeRecursively();
}

void RecoveryStore::drop(const Copy &copy)
{
    QFile::remove(copy.file);
    QFile::remove(copy.file + kRecord);
    removeRunIfEmpty(copy.runFolder);
}

QString RecoveryStore::keepAside(const Copy &copy)
{
    const QString aside = m_folder + u'/' + kAside;
    QDir().mkpath(aside);
    const QString target =
        aside + u'/' + QFileInfo(copy.runFolder).fileName() + u'-' + QFileInfo(copy.file).fileName();
    if (!QFile::rename(copy.file, target))
        return copy.file; // left where it is, still not deleted
    QFile::rename(copy.file + kRecord, target + kRecord);
    removeRunIfEmpty(copy.runFolder);
    return target;
}

void RecoveryStore::releaseLeftBehind()
{
    m_claimed.clear();
}

QList<RecoveryStore::Copy> offerRecovery(Workspace &ws, RecoveryStore &store)
{
    QList<RecoveryStore::Copy> offered;
    QStringList aside;
    for (const RecoveryStore::Copy &copy : store.leftBehind()) {
        if (copy.recordRead) {
            offered << copy;
            continue;
        }
        const QString kept = store.keepAside(copy);
        ws.logEvent(0, u"Odzyskiwanie. Nie można odczytać zapisu kopii; odłożono ją: "_s + kept + u"."_s);
        aside << QDir::toNativeSeparators(kept);
    }
    if (!aside.isEmpty())
        ws.showMessage(MessageKind::CloseOnly, MessageIcon::WarningIcon,
                       u"Nie można odczytać kopii niezapisanej pracy. Odłożono:\r"_s + aside.join(u'\r'));
    if (offered.isEmpty()) {
        store.releaseLeftBehind();
        return {};
    }
    QString text = u"Program nie został poprawnie zamknięty. Czy przywrócić niezapisaną pracę?"_s;
    for (const RecoveryStore::Copy &copy : std::as_const(offered))
        text += u'\r' + describe(copy);
    switch (ws.showMessage(MessageKind::YesNoCancel, MessageIcon::QuestionIcon, text)) {
    case MessageResult::Yes:
        return offered;
    case MessageResult::No:
        for (const RecoveryStore::Copy &copy : std::as_const(offered))
            store.drop(copy);
        break;
    default:
        break;
    }
    store.releaseLeftBehind();
    return {};
}
