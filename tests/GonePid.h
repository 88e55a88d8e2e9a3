#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// The id of a process that has ended and been reaped: the writer of a file no program looks after.
inline long GonePid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}
