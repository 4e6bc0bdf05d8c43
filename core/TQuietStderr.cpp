#include "core/TQuietStderr.hpp"

#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <unistd.h>

TQuietStderr::TQuietStderr()
{
    std::cerr.flush();
    std::fflush(stderr);
    const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (sink < 0)
        return;
    saved = ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    if (saved >= 0)
        ::dup2(sink, 2);
    ::close(sink);
}

TQuietStderr::~TQuietStderr()
{
    if (saved < 0)
        return;
    std::cerr.flush();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
}
