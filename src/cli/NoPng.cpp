// render and pcx in a build of orvik without Qt, which has no PNG encoder: they refuse before
// reading or writing anything.
#include "Commands.h"
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

} // namespace orvik::cli
