#pragma once
// Runs the built orvik program and collects what it printed.
#include "support/Process.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace orvik::test {

struct OrvikRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs orvik with args as given (no shell in between). fileSizeLimit (bytes, POSIX only) caps the
// files orvik writes. The output files go into dir.
inline OrvikRun RunOrvikArgs(const ScratchDir& dir, const std::vector<std::string>& args,
                             const std::string& stdinPath = NullDevice(), std::uint64_t fileSizeLimit = 0)
{
    const std::string out = dir.File(".stdout"), err = dir.File(".stderr");
    const int status = RunProgram(ORVIK_EXE, args, stdinPath, out, err, fileSizeLimit);
    return {status, ReadText(out), ReadText(err)};
}

// argsLine holds the arguments as a shell would take them (quote them yourself with '...'); no shell
// runs, so the line means the same on every system.
inline OrvikRun RunOrvikLine(const ScratchDir& dir, const std::string& argsLine,
                             const std::string& stdinPath = NullDevice(), std::uint64_t fileSizeLimit = 0)
{
    return RunOrvikArgs(dir, SplitQuotedWords(argsLine), stdinPath, fileSizeLimit);
}

// The arguments as one line a shell would take, for messages.
inline std::string QuoteArgs(const std::vector<std::string>& args)
{
    std::string line;
    for (const auto& a : args)
        line += (line.empty() ? "" : " ") + ShellQuote(a);
    return line;
}

// stdinText is what the program reads.
inline OrvikRun RunOrvik(const ScratchDir& dir, const std::vector<std::string>& args, const std::string& stdinText = {})
{
    const std::string in = dir.File(".stdin");
    WriteBytes(in, std::vector<std::uint8_t>(stdinText.begin(), stdinText.end()));
    return RunOrvikArgs(dir, args, in);
}

inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace orvik::test
