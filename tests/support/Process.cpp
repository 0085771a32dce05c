#include "support/Process.h"

#include "common/NativePath.h"
#include "common/Unicode.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orvik::test {

std::vector<std::string> SplitQuotedWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false, escaped = false;
    for (char c : line) {
        if (escaped) {
            word += c;
            escaped = false;
        } else if (quoted) {
            if (c == '\'')
                quoted = false;
            else
                word += c;
        } else if (c == '\'' || c == '\\') {
            (c == '\'' ? quoted : escaped) = true;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

#ifdef _WIN32

const char* NullDevice() { return "NUL"; }

namespace {

// One argument as the C runtime splits the command line: quoted, with backslashes doubled only
// before a quote.
std::wstring QuoteArgument(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE OpenInherited(const std::string& path, bool forWrite)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(WidePath(path).c_str(), forWrite ? GENERIC_WRITE : GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                         forWrite ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& stdinPath,
               const std::string& outPath, const std::string& errPath, std::uint64_t)
{
    std::wstring line = QuoteArgument(WidePath(program));
    for (const std::string& a : args)
        line += L" " + QuoteArgument(WidePath(a));
    const HANDLE in = OpenInherited(stdinPath, false), out = OpenInherited(outPath, true),
                 err = OpenInherited(errPath, true);
    int status = -1;
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
        STARTUPINFOW start{};
        start.cb = sizeof(start);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = in;
        start.hStdOutput = out;
        start.hStdError = err;
        PROCESS_INFORMATION child{};
        if (::CreateProcessW(WidePath(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &start, &child)) {
            DWORD code = 0;
            if (::WaitForSingleObject(child.hProcess, INFINITE) == WAIT_OBJECT_0 &&
                ::GetExitCodeProcess(child.hProcess, &code))
                status = static_cast<int>(code);
            ::CloseHandle(child.hThread);
            ::CloseHandle(child.hProcess);
        }
    }
    for (HANDLE h : {in, out, err})
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    return status;
}

bool CanFork() { return false; }
int RunInChild(const std::function<int()>&, std::uint64_t) { return -1; }
void KillThisProcess()
{
    ::TerminateProcess(::GetCurrentProcess(), 137);
    for (;;) {
    }
}
int KilledStatus() { return 137; }
std::vector<int> RunTogether(const std::vector<std::function<std::function<int()>()>>& setups)
{
    return std::vector<int>(setups.size(), -1);
}

#else

const char* NullDevice() { return "/dev/null"; }

namespace {

void LimitFileSize(std::uint64_t bytes)
{
    if (bytes == 0)
        return;
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ::_exit(100);
}

int WaitFor(pid_t pid)
{
    int status = 0;
    pid_t got;
    do
        got = ::waitpid(pid, &status, 0);
    while (got < 0 && errno == EINTR);
    if (got != pid)
        return -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Redirect(const std::string& path, int flags, int target)
{
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::dup2(fd, target) == target;
    ::close(fd);
    return ok;
}

} // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& stdinPath,
               const std::string& outPath, const std::string& errPath, std::uint64_t fileSizeLimit)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (!Redirect(stdinPath, O_RDONLY, 0) || !Redirect(outPath, O_WRONLY | O_CREAT | O_TRUNC, 1) ||
            !Redirect(errPath, O_WRONLY | O_CREAT | O_TRUNC, 2))
            ::_exit(126);
        LimitFileSize(fileSizeLimit);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    const int status = WaitFor(pid);
    return status >= 128 ? -1 : status;
}

bool CanFork() { return true; }

int RunInChild(const std::function<int()>& body, std::uint64_t fileSizeLimit)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        LimitFileSize(fileSizeLimit);
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        ::_exit(code);
    }
    return WaitFor(pid);
}

void KillThisProcess()
{
    ::raise(SIGKILL);
    ::_exit(137);
}

int KilledStatus() { return 128 + SIGKILL; }

std::vector<int> RunTogether(const std::vector<std::function<std::function<int()>()>>& setups)
{
    int ready[2], go[2];
    if (::pipe(ready) != 0)
        return std::vector<int>(setups.size(), -1);
    if (::pipe(go) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return std::vector<int>(setups.size(), -1);
    }
    std::vector<pid_t> children;
    for (const auto& setup : setups) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            int code = 98;
            try {
                const std::function<int()> act = setup();
                char c = 'r';
                if (::write(ready[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1)
                    ::_exit(97);
                code = act();
            } catch (...) {
            }
            ::_exit(code);
        }
        children.push_back(pid);
    }
    // Every child that started reports ready; one that dies first closes its end, so the reads
    // below end instead of waiting for it.
    ::close(ready[1]);
    ::close(go[0]);
    std::size_t started = 0;
    for (pid_t pid : children)
        started += pid > 0;
    char c = 0;
    for (std::size_t i = 0; i < started; ++i)
        if (::read(ready[0], &c, 1) != 1)
            break;
    const std::string go_all(started, 'g');
    if (started > 0 && ::write(go[1], go_all.data(), go_all.size()) != static_cast<ssize_t>(go_all.size()))
        started = 0;
    ::close(ready[0]);
    ::close(go[1]);
    std::vector<int> statuses;
    for (pid_t pid : children)
        statuses.push_back(pid > 0 ? WaitFor(pid) : -1);
    return statuses;
}

#endif

} // namespace orvik::test
