// The recovery folder as the editor names it (Qt's data folder of orvik-editor).
#include "RecoveryCommands.h"

#include "userdata/UserFolders.h"

namespace orvik::cli {

std::string DefaultRecoveryFolder() { return RecoveryFolder(); }

} // namespace orvik::cli
