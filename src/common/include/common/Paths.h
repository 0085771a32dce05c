#pragma once
// Paths of the game directory, safe output names and private scratch folders.
#include <string>
#include <string_view>

namespace orvik {

// The folder of the base archive with its trailing separator ("" when the path has no folder).
std::string GameDirectory(const std::string& archivePath);

// The path of NAME inside folder dir (which ends with a separator or is empty), found whatever its
// letter case: the exact name first, then the first directory entry whose folded name matches.
// When nothing matches, the exact path is returned, so a later open reports it as missing.
std::string FindInFolder(const std::string& dir, const std::string& name);

// A name that may be used as a file name inside a folder: not empty, not "." or "..", no '/',
// '\\' or ':' and no control character. On Windows also not a device (CON, NUL, COM1 ... with any
// extension), which would send the bytes out of the folder, and no trailing dot or blank, which
// Windows drops, so the file would land under another name.
bool IsSafeFileName(std::string_view name);
// A name that may stand in a one-line repack script: no blank, & | < > ^ % " or control character.
bool IsSafeScriptName(std::string_view name);

// A private folder made afresh for one operation and removed with everything in it afterwards.
class TempDir {
public:
    TempDir(); // throws FileError when no folder can be made
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with its trailing separator.
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace orvik
