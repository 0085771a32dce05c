#pragma once
// The editor's command line, read before Qt starts, so that --help and --version work without a
// display and an option is never mistaken for the archive's path.
#include <string>
#include <vector>

namespace orvik {

struct EditorArgs {
    enum class Action { Run, Help, Version, ProbeDisplay, UsageError };
    Action action = Action::Run;
    // Index into the parsed arguments of BASE, or -1 when none was given.
    int baseIndex = -1;
    // --no-settings: neither read nor write the settings file; --reset-settings: delete it first.
    bool noSettings = false;
    bool resetSettings = false;
    // For UsageError: what was wrong, one line.
    std::string error;
};

// Parses the arguments after the program name. "--" ends the options, so a BASE starting with "-"
// can follow it. Qt's own display options (-platform NAME and the like) are left for Qt.
EditorArgs ParseEditorArgs(const std::vector<std::string>& args);

// The --help text and the --version line.
std::string EditorUsage();
std::string EditorVersion();

} // namespace orvik
