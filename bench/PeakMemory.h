#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <malloc.h>
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

// Peak resident memory of this process while `work` runs, above what it held before: the kernel's
// high-water mark is reset first. For work that runs Qt's threads, which a forked child must not.
inline long peakKbDuring(const std::function<void()> &work)
{
    const auto status = [](const char *key) {
        long value = 0;
        if (std::FILE *f = std::fopen("/proc/self/status", "r")) {
            char line[256];
            const size_t length = std::strlen(key);
            while (std::fgets(line, sizeof line, f)) {
                if (std::strncmp(line, key, length) == 0)
                    value = std::atol(line + length);
            }
            std::fclose(f);
        }
        return value;
    };
    // Heap freed before (the fixtures') would otherwise count as held and hide what the work takes.
    ::malloc_trim(0);
    if (std::FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    const long before = status("VmRSS:");
    work();
    return status("VmHWM:") - before;
}
