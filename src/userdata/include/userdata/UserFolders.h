#pragma once
// The user's own folders, the same for the editor and the command line.
#include <string>

namespace orvik {

// Where recovery files live: the editor's data folder (Qt's AppLocalDataLocation for
// "orvik-editor") and "recovery" in it, as UTF-8. Linux: ~/.local/share/orvik-editor/recovery
// (XDG_DATA_HOME when set); Windows: %LOCALAPPDATA%\Orvik Editor\recovery. The name is spelled here,
// not taken from the running program, so that `orvik` finds the editor's files.
std::string RecoveryFolder();

} // namespace orvik
