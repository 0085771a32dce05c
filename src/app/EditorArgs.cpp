#include "app/EditorArgs.h"

#include "OrvikVersion.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orvik {

namespace {

// Options QApplication reads and removes itself; accepting them keeps `-platform offscreen` working.
constexpr std::array<std::string_view, 5> kQtValueOptions{"-platform", "-style", "-stylesheet", "-display",
                                                          "-qwindowgeometry"};
constexpr std::array<std::string_view, 1> kQtFlagOptions{"-reverse"};

bool Contains(const auto& list, std::string_view arg) { return std::find(list.begin(), list.end(), arg) != list.end(); }

EditorArgs Error(std::string message)
{
    EditorArgs result;
    result.action = EditorArgs::Action::UsageError;
    result.error = std::move(message);
    return result;
}

} // namespace

EditorArgs ParseEditorArgs(const std::vector<std::string>& args)
{
    EditorArgs result;
    bool help = false, version = false, probe = false, optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!isOption) {
            if (result.baseIndex >= 0)
                return Error("too many arguments: '" + arg + "' (only one BASE can be opened)");
            result.baseIndex = static_cast<int>(i);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else if (arg == "--probe-display") {
            probe = true;
        } else if (arg == "--no-settings") {
            result.noSettings = true;
        } else if (arg == "--reset-settings") {
            result.resetSettings = true;
        } else if (Contains(kQtValueOptions, arg)) {
            if (++i == args.size())
                return Error("option " + arg + " needs a value");
        } else if (!Contains(kQtFlagOptions, arg)) {
            return Error("unknown option '" + arg + "'");
        }
    }
    if (help)
        result.action = EditorArgs::Action::Help;
    else if (version)
        result.action = EditorArgs::Action::Version;
    else if (probe)
        result.action = EditorArgs::Action::ProbeDisplay;
    return result;
}

std::string EditorUsage()
{
    return "usage: orvik-editor [--help] [--version] [--probe-display] [--no-settings] [--reset-settings] [--] [BASE]\n"
           "  BASE              the game's kqbase.pff; without it the editor asks\n"
           "  --help, -h        print this help and exit\n"
           "  --version         print the version and exit\n"
           "  --probe-display   exit 0 when the display can be opened, 3 when it cannot\n"
           "  --no-settings     neither read nor write the settings file: start with the defaults\n"
           "  --reset-settings  delete the settings file, then start with the defaults\n"
           "  --                end of options: a BASE starting with '-' follows\n";
}

std::string EditorVersion() { return std::string("orvik-editor ") + ORVIK_VERSION + "\n"; }

} // namespace orvik
