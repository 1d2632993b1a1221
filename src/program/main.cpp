#include "program/TFApplication.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// A desktop logout or `kill` ends the program the normal way, so its working files are removed.
void quitOnTerminate(QApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

// --version and --help are answered before any window-system connection, so they work without a display.
bool answeredInformation(int argc, char **argv)
{
    if (argc != 2)
        return false;
    const std::string_view argument = argv[1];
    if (argument == "--version") {
        std::printf("zadanix-edytor %s\n", ZADANIX_VERSION);
        return true;
    }
    if (argument == "--help" || argument == "-h") {
        std::printf("Usage: zadanix-edytor [FILE]\n"
                    "Zadanix - Edytor %s: questions, tests and lists for a school test.\n"
                    "FILE, a .skt, .skq, .skg, .skz or .sku document, is opened at start.\n",
                    ZADANIX_VERSION);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (answeredInformation(argc, argv))
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    QApplication app(argc, argv);
    // The program ends when the background window closes, not when some dialog happens to be last.
    QApplication::setQuitOnLastWindowClosed(false);
    quitOnTerminate(app);

    TFApplication::Options options;
    options.arguments = QApplication::arguments().mid(1);
    TFApplication program(options);
    QObject::connect(&program, &TFApplication::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    program.show();
    const int result = QApplication::exec();
    program.shutDown();
    return result;
}
