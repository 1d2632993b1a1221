#pragma once

#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Peak resident kilobytes of a child process running `work`; 0 when it could not be started. A child
// that does nothing gives the base to subtract.
inline long childPeakKb(const std::function<void()> &work)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    rusage usage{};
    return pid > 0 && ::wait4(pid, &status, 0, &usage) == pid ? usage.ru_maxrss : 0L;
}
