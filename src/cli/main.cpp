#include "CommandLineTool.h"
#include "DocumentCommands.h"
#include "GradeCommand.h"
#include "PackCommands.h"
#include "PrintCommand.h"
#include "ShrinkCommand.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    // Printing lays out text, which takes Qt's font database; the offscreen platform gives it without
    // a display. The other commands stay free of the windowing part.
    std::unique_ptr<QCoreApplication> app;
    if (needsGuiApplication(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's notes about the platform (no runtime folder and the like) are nothing the user did.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                qt_message_output(type, context, text);
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(u"zadanix"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZADANIX_VERSION));

    CommandLineTool tool;
    addPackCommands(tool);
    addDocumentCommands(tool);
    addPrintCommand(tool);
    addShrinkCommand(tool);
    addGradeCommand(tool);
    return tool.run(QCoreApplication::arguments());
}
