#include "gamedata/ItemDefWriter.h"

#include "gamedata/DemoRandom.h"

namespace orvik::gamedata {

namespace {

// Lines that may stand between entries. The reader opens an entry on any line that holds "begin",
// so none of these may hold it.
std::string FillerLine(DemoRandom& rng)
{
    switch (rng.Range(0, 9)) {
    case 0: return "";
    case 1: return "// " + std::string(rng.Chance(50) ? "tuned after the winter playtest" : "keep ids stable");
    case 2: return "; class " + std::to_string(rng.Range(1, 12));
    case 3: return "model obj" + std::to_string(rng.Range(100, 999)) + ".3do";
    case 4: return "mass " + std::to_string(rng.Range(1, 40000));
    case 5: return "\tsound snd_" + std::to_string(rng.Range(10, 99)) + ".wav";
    case 6: return "end";
    case 7: return "hitpoints = " + std::to_string(rng.Range(1, 500));
    case 8: return "# shadow " + std::string(rng.Chance(50) ? "yes" : "no");
    default: return "   ";
    }
}

std::string NameLine(DemoRandom& rng, const std::string& name)
{
    switch (rng.Range(0, 3)) {
    case 0: return "\tbegin \"" + name + "\"";
    case 1: return "begin  \"" + name + "\"";
    default: return "begin \"" + name + "\"";
    }
}

// The reader takes the number from the third character after "id": one separator of any kind.
std::string IdLine(DemoRandom& rng, std::int32_t id)
{
    const std::string number = std::to_string(static_cast<std::int64_t>(id) + 100000);
    switch (rng.Range(0, 3)) {
    case 0: return "id=" + number;
    case 1: return "  id " + number;
    case 2: return "\tid=" + number;
    default: return "id " + number;
    }
}

} // namespace

std::string BuildItemDef(const std::vector<ItemDefSpec>& entries, std::uint32_t seed)
{
    DemoRandom rng(seed);
    const bool crlf = rng.Chance(40);
    const char* eol = crlf ? "\r\n" : "\n";
    std::string out;
    auto line = [&](const std::string& text) {
        out += text;
        out += eol;
    };

    line("// Tarnhold item definitions");
    line("// number = kind + 100000");
    for (int i = rng.Range(0, 2); i > 0; --i)
        line(FillerLine(rng));
    for (const auto& entry : entries) {
        line(NameLine(rng, entry.name));
        line(IdLine(rng, entry.id));
        for (int i = rng.Range(0, 3); i > 0; --i)
            line(FillerLine(rng));
    }
    if (rng.Chance(50))
        line("// end of file");
    return out;
}

} // namespace orvik::gamedata
