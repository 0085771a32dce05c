#pragma once
// What the harnesses share: a property that does not hold stops the fuzzer as a finding, and
// inputs that must reach a reader through a file are written to a private scratch folder.
#include "common/File.h"
#include "common/Paths.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvik::fuzz {

inline void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "Property does not hold: %s\n", what);
        std::abort();
    }
}

// path of name in the process's scratch folder, written with the bytes given.
inline std::string ScratchFile(const std::string& name, const void* data, std::size_t size)
{
    static TempDir dir;
    const std::string path = dir.Path() + name;
    WriteWholeFile(path, data, size);
    return path;
}

} // namespace orvik::fuzz
