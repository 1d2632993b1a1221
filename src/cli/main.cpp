#include "CommandLineTool.h"
#include "DocumentCommands.h"
#include "PackCommands.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"zadanix"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZADANIX_VERSION));

    CommandLineTool tool;
    addPackCommands(tool);
    addDocumentCommands(tool);
    return tool.run(QCoreApplication::arguments());
}
