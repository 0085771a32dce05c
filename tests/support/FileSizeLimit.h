#pragma once
// Runs a piece of a test in a child process whose files may not grow past a limit, the way a full
// disk or a quota stops a write half-way. SIGXFSZ is ignored, so the write fails with EFBIG instead
// of killing the child.
#include <cstdint>
#include <cstdlib>
#include <functional>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvik::test {

// The child's exit status (body's result), or -1 when it did not exit normally.
inline int RunWithFileSizeLimit(std::uint64_t bytes, const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(100);
        int code = 101;
        try {
            code = body();
        } catch (...) {
            code = 102;
        }
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace orvik::test
