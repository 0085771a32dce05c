// The editor's command line: which arguments run the editor, print help or the version, or are refused,
// and which one is the archive's path.
#include "app/EditorArgs.h"
#include "app/QtText.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace orvik::test {
namespace {

using Action = EditorArgs::Action;

struct ArgsCase {
    const char* name;
    std::vector<std::string> args;
    Action action;
    int baseIndex;
    const char* errorPart; // part of the message for UsageError
};

const ArgsCase kCases[] = {
    {"nothing asks for the archive", {}, Action::Run, -1, ""},
    {"one path opens it", {"kqbase.pff"}, Action::Run, 0, ""},
    {"a lone dash is a file name", {"-"}, Action::Run, 0, ""},
    {"help", {"--help"}, Action::Help, -1, ""},
    {"short help", {"-h"}, Action::Help, -1, ""},
    {"help after a path", {"kqbase.pff", "--help"}, Action::Help, 0, ""},
    {"version is not a path", {"--version"}, Action::Version, -1, ""},
    {"version with a path", {"--version", "kqbase.pff"}, Action::Version, 1, ""},
    {"help before version", {"--version", "--help"}, Action::Help, -1, ""},
    {"probe", {"--probe-display"}, Action::ProbeDisplay, -1, ""},
    {"the settings switches are not the path", {"--no-settings", "--reset-settings", "kqbase.pff"}, Action::Run, 2, ""},
    {"-- makes an option-like name a path", {"--", "--version"}, Action::Run, 1, ""},
    {"-- then a dash path", {"--", "-game.pff"}, Action::Run, 1, ""},
    {"a second -- is a path", {"--", "--"}, Action::Run, 1, ""},
    {"Qt's option and its value are not the path", {"-platform", "offscreen", "kqbase.pff"}, Action::Run, 2, ""},
    {"Qt's flag option", {"-reverse", "kqbase.pff"}, Action::Run, 1, ""},
    {"unknown long option", {"--bogus"}, Action::UsageError, -1, "unknown option '--bogus'"},
    {"unknown short option", {"-x", "kqbase.pff"}, Action::UsageError, -1, "unknown option '-x'"},
    {"option with a value glued on", {"--version=2"}, Action::UsageError, -1, "unknown option '--version=2'"},
    {"unknown option wins over help", {"--help", "--bogus"}, Action::UsageError, -1, "--bogus"},
    {"two paths", {"a.pff", "b.pff"}, Action::UsageError, -1, "too many arguments: 'b.pff'"},
    {"two paths after --", {"--", "a.pff", "b.pff"}, Action::UsageError, -1, "too many arguments"},
    {"Qt option without its value", {"-platform"}, Action::UsageError, -1, "-platform needs a value"},
};

TEST(EditorArgsTest, ParsesEachCommandLine)
{
    for (const ArgsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const EditorArgs parsed = ParseEditorArgs(c.args);
        EXPECT_EQ(parsed.action, c.action);
        if (c.action == Action::UsageError) {
            EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos) << parsed.error;
        } else {
            EXPECT_EQ(parsed.baseIndex, c.baseIndex);
            EXPECT_TRUE(parsed.error.empty()) << parsed.error;
        }
    }
}

TEST(EditorArgsTest, SettingsSwitchesAreReadApart)
{
    for (const auto& [args, none, reset] : std::vector<std::tuple<std::vector<std::string>, bool, bool>>{
             {{}, false, false}, {{"--no-settings"}, true, false}, {{"--reset-settings", "a.pff"}, false, true}}) {
        const EditorArgs parsed = ParseEditorArgs(args);
        EXPECT_EQ(parsed.noSettings, none);
        EXPECT_EQ(parsed.resetSettings, reset);
    }
}

TEST(EditorArgsTest, UsageNamesEveryOptionTheParserAccepts)
{
    const std::string usage = EditorUsage();
    for (const char* option :
         {"--help", "-h", "--version", "--probe-display", "--no-settings", "--reset-settings", "--", "BASE"}) {
        SCOPED_TRACE(option);
        EXPECT_NE(usage.find(option), std::string::npos);
        if (std::string(option).starts_with("-") && std::string(option) != "--") {
            EXPECT_NE(ParseEditorArgs({option}).action, Action::UsageError);
        }
    }
}

} // namespace
} // namespace orvik::test

// A BASE from the command line reaches the core as UTF-8 whatever its letters, on Windows too, where
// the ANSI code page would turn Cyrillic into question marks.
TEST(EditorArgsTest, PathsCrossTheQtBoundaryWhole)
{
    const std::string path = "\xd0\x98\xd0\xb3\xd1\x80\xd0\xb0 \xf0\x9f\x8e\xae/kqbase.pff";
    EXPECT_EQ(orvik::PathFromQt(QString::fromStdString(path)), path);
    EXPECT_EQ(orvik::PathToQt(path), QString::fromStdString(path));
}
