// render and pcx in a build of orvik without Qt, which has no PNG encoder: they refuse before
// reading or writing anything.
#include "Commands.h"
#include "RecoveryCommands.h"
#include "common/FileError.h"

namespace orvik::cli {

namespace {

[[noreturn]] void NoPngOutput(const char* command)
{
    throw UserError(std::string("orvik ") + command +
                    " is not available: this build of orvik has no PNG output (it was built without Qt).");
}

} // namespace

int Render(const std::string&, const std::string&, const RenderOptions&, const std::string&) { NoPngOutput("render"); }

int Pcx(const std::string&, const std::string&, const std::string&) { NoPngOutput("pcx"); }

// Qt names the editor's data folder; without it the user names it.
std::string DefaultRecoveryFolder()
{
    throw UserError("This build of orvik does not know the editor's data folder (it was built without Qt): name the "
                    "recovery folder with --folder.");
}

} // namespace orvik::cli
