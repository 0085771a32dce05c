#pragma once
// Child processes for tests: the one place where tests meet the platform. Other test files stay
// portable; where a piece of a test needs what only POSIX offers (fork, rlimits, signals), it asks
// CanFork() first and skips with its reason.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvik::test {

// The name of the empty input device ("/dev/null", "NUL").
const char* NullDevice();

// Runs program with args (no shell in between), standard input from stdinPath, standard output and
// error into files. fileSizeLimit (bytes, 0 for none) caps every file the program writes, the way
// a full disk stops a write half-way; it is honoured on POSIX only. Returns the exit status, or -1
// when the program could not be started or did not exit normally.
int RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& stdinPath,
               const std::string& outPath, const std::string& errPath, std::uint64_t fileSizeLimit = 0);

// The words of a line quoted as a POSIX shell quotes them with '...' (and '\'' inside), split at
// blanks.
std::vector<std::string> SplitQuotedWords(const std::string& line);

// Whether RunInChild and RunTogether can work here (fork exists: not on Windows).
bool CanFork();
inline constexpr const char* kNoFork = "needs fork, signals and file-size limits, which Windows does not have";

// Runs body in a forked child whose files may not grow past fileSizeLimit bytes (0: no limit; a
// write past it fails with EFBIG instead of killing the child). Returns the child's exit status
// (body's result; 98 when it threw), 128 + the signal that ended it, or -1 without fork.
int RunInChild(const std::function<int()>& body, std::uint64_t fileSizeLimit = 0);

// Ends this process at once, as a crash or a power cut would, without unwinding or flushing.
[[noreturn]] void KillThisProcess();
// RunInChild's status for a child that KillThisProcess ended.
int KilledStatus();

// Each entry runs in its own child: first its setup part, which returns its act part; the acts start
// only when every child's setup is done, so they race. Returns the exit statuses in order (-1 each
// without fork).
std::vector<int> RunTogether(const std::vector<std::function<std::function<int()>()>>& setups);

} // namespace orvik::test
