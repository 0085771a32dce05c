#pragma once
// Runs the built orvik program in a shell and collects what it printed.
#include "support/TestSupport.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
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

// argsLine is put after the program as it stands (quote it yourself); shellPrefix runs first in the
// same shell, e.g. to set a file-size limit. The output files go into dir.
inline OrvikRun RunOrvikLine(const ScratchDir& dir, const std::string& argsLine, const std::string& stdinPath = "/dev/null",
                             const std::string& shellPrefix = {})
{
    const std::string out = dir.File(".stdout"), err = dir.File(".stderr");
    const std::string cmd = "(" + shellPrefix + "exec " + ShellQuote(ORVIK_EXE) + " " + argsLine + ") <" +
                            ShellQuote(stdinPath) + " >" + ShellQuote(out) + " 2>" + ShellQuote(err);
    const int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
}

inline std::string QuoteArgs(const std::vector<std::string>& args)
{
    std::string line;
    for (const auto& a : args)
        line += (line.empty() ? "" : " ") + ShellQuote(a);
    return line;
}

// Each argument quoted; stdinText is what the program reads.
inline OrvikRun RunOrvik(const ScratchDir& dir, const std::vector<std::string>& args, const std::string& stdinText = {})
{
    const std::string in = dir.File(".stdin");
    WriteBytes(in, std::vector<std::uint8_t>(stdinText.begin(), stdinText.end()));
    return RunOrvikLine(dir, QuoteArgs(args), in);
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
