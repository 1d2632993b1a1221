#include "FuzzEnvironment.h"

#include "storage/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

using namespace Qt::StringLiterals;

namespace {

// Picture decoding needs a QGuiApplication; the offscreen platform keeps the targets headless.
void startApplication()
{
    static int argc = 1;
    static char name[] = "zadanix-fuzz";
    static char *argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

int noFlush(int)
{
    return 0;
}

} // namespace

FuzzEnvironment &FuzzEnvironment::get()
{
    startApplication();
    static FuzzEnvironment environment;
    return environment;
}

FuzzEnvironment::FuzzEnvironment()
{
    AtomicFile::setSyncCall(&noFlush);
    m_ws.setUpFoldersAndPaths(m_dir.path());
    m_ws.setProgramFolder(m_dir.path());
    m_ws.rng.seed(4242);
    m_ws.createWorkingArchives();
    // A folder that does not exist: every log entry fails at once and writes nothing.
    m_ws.log.setPath(m_dir.filePath(u"brak/Dziennik.txt"_s));
}

QString FuzzEnvironment::inputFile(const uint8_t *data, size_t size, const QString &name)
{
    const QString path = QDir(m_dir.path()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    return path;
}
