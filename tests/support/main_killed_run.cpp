// The run the killed-run window tests end: the whole program on a data folder, editing a document
// until its recovery copy is written, then killed as a crash ends a program. The tests start it as a
// process of its own (forking one whose Qt threads already run could deadlock the child) and look at
// what the next start finds.
//   zadanix_killed_run question|student-list DATA_FOLDER DOCUMENT
// Ends killed by SIGKILL; an exit code means the editor never came up.

#include "gui/ModalDriver.h"
#include "gui/ProgramFixture.h"
#include "program/RecoveryKeeper.h"
#include "students/TFListaUczniow.h"

#include <QApplication>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("zadanix_killed_run question|student-list DATA_FOLDER DOCUMENT\n", stderr);
        return 2;
    }
    const QString &what = arguments[1];
    Program program(arguments[2], {arguments[3]});
    const auto killed = [&program] {
        program.app->recovery().tick();
        ::kill(::getpid(), SIGKILL);
    };
    if (what == u"question"_s) {
        whenModalNamed(u"FPytanie"_s, [&](QWidget *modal) {
            QTest::keyClick(modal->focusWidget(), Qt::Key_End, Qt::ControlModifier);
            typeText(modal->focusWidget(), u" Policz nogi."_s);
            killed();
        });
    } else if (what == u"student-list"_s) {
        whenModalNamed(u"FListaUczniow"_s, [&](QWidget *) {
            SchoolClass b = newClass(program.ws().settings);
            b.name = u"3b"_s;
            program.app->studentListEditor().editor().addClass(b);
            killed();
        });
    } else {
        std::fputs("zadanix_killed_run: no such run\n", stderr);
        return 2;
    }
    program.start();
    return 1;
}
