#include "platform/AutostartEntry.h"

#include "tests/support/TempDir.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace platform;

namespace {

// Reads an Exec value back the way a desktop environment does: first the string escapes of
// the file, then the quoting of the argument, then "%%".
std::string programOfExec(const std::string& value)
{
    std::string unescaped;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char c = value[++i];
            unescaped.push_back(c == 'n'   ? '\n'
                                : c == 't' ? '\t'
                                : c == 'r' ? '\r'
                                : c == 's' ? ' '
                                           : c);
        } else {
            unescaped.push_back(value[i]);
        }
    }
    EXPECT_EQ(unescaped.front(), '"');
    EXPECT_EQ(unescaped.back(), '"');
    std::string program;
    for (size_t i = 1; i + 1 < unescaped.size(); ++i) {
        if (unescaped[i] == '\\') {
            ++i;
        } else if (unescaped[i] == '%') {
            EXPECT_EQ(unescaped[++i], '%');
        }
        program.push_back(unescaped[i]);
    }
    return program;
}

std::string execLineOf(const std::string& entry)
{
    std::istringstream in(entry);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Exec=", 0) == 0)
            return line.substr(5);
    }
    return {};
}

bool validatorAvailable()
{
    return std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0;
}

} // namespace

TEST(AutostartEntry, ExecNamesTheReminderWhateverThePathHolds)
{
    for (const std::string dir :
         {"/home/ana/.local/lib/tortavela", "/home/ana/Mis programas/100% tortas",
          "/opt/a\"b`c$d\\e'f", "/tmp/con\ttab"}) {
        const std::string entry = autostartEntryText(dir);
        EXPECT_EQ(programOfExec(execLineOf(entry)), dir + "/Avisela") << dir;
        EXPECT_NE(entry.find("Type=Application\n"), std::string::npos);
        EXPECT_NE(entry.find("Name=Tortavela\n"), std::string::npos);
    }
}

TEST(AutostartEntry, IsWrittenAnewAndPassesTheValidator)
{
    TempDir dir;
    const auto autostart = dir / "config/autostart"; // missing folders are created
    const std::filesystem::path programDir = "/home/ana/Mis programas/100% tortas";
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    writeBytes(autostart / kAutostartFileName, "[Desktop Entry]\nstale\n");
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    const auto file = autostart / kAutostartFileName;
    EXPECT_EQ(readBytes(file), autostartEntryText(programDir));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(autostart),
                            std::filesystem::directory_iterator{}),
              1); // no temporary file left
    if (!validatorAvailable())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    const std::string command = "desktop-file-validate '" + file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

TEST(AutostartEntry, ReportsAFolderThatCannotBeMade)
{
    TempDir dir;
    writeBytes(dir / "config", "a file where the folder should be");
    const auto result = registerReminderAtLogon("/opt/tortavela", dir / "config/autostart");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.empty());
}

TEST(AutostartEntry, FollowsXdgConfigHome)
{
    ::setenv("XDG_CONFIG_HOME", "/tmp/config-home", 1);
    EXPECT_EQ(autostartDirectory(), "/tmp/config-home/autostart");
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    ::setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(autostartDirectory(), "/home/ana/.config/autostart");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(autostartDirectory(), "/home/ana/.config/autostart");
}

// The desktops' "Startup applications" switch the entry off with these keys; the manager
// rewrites the entry at every start and keeps them as the user set them.
TEST(AutostartEntry, KeepsTheUsersChoiceToSwitchItOff)
{
    TempDir dir;
    const auto autostart = dir / "autostart";
    const std::filesystem::path programDir = "/home/ana/.local/lib/tortavela";
    std::filesystem::create_directories(autostart);
    const auto file = autostart / kAutostartFileName;
    // As GNOME and KDE leave it: the old program directory, their keys, other groups.
    writeBytes(file, "[Desktop Entry]\r\n"
                     "Type=Application\n"
                     "Name=Tortavela\n"
                     "Exec=\"/old/place/Avisela\"\n"
                     "X-GNOME-Autostart-enabled=false\n"
                     "Comment=stale\n"
                     "Hidden = true\n"
                     "Hidden=false\n"
                     "[Desktop Action Other]\n"
                     "X-GNOME-Autostart-enabled=true\n");
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    EXPECT_EQ(readBytes(file), autostartEntryText(programDir) + "X-GNOME-Autostart-enabled=false\n"
                                                                "Hidden = true\n");
    // And again at the next start.
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    EXPECT_EQ(readBytes(file), autostartEntryText(programDir) + "X-GNOME-Autostart-enabled=false\n"
                                                                "Hidden = true\n");
    if (validatorAvailable()) {
        const std::string command = "desktop-file-validate '" + file.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // Switched on again by the desktop (it writes the key anew, or removes it): kept so too.
    writeBytes(file, autostartEntryText("/old/place") + "X-GNOME-Autostart-enabled=true\n");
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    EXPECT_EQ(readBytes(file), autostartEntryText(programDir) + "X-GNOME-Autostart-enabled=true\n");
    writeBytes(file, autostartEntryText("/old/place"));
    ASSERT_TRUE(registerReminderAtLogon(programDir, autostart).ok);
    EXPECT_EQ(readBytes(file), autostartEntryText(programDir));
}

TEST(AutostartEntry, AnEntryThatIsNoFileIsNeitherReadNorWaitedOn)
{
    TempDir dir;
    const auto autostart = dir / "autostart";
    std::filesystem::create_directories(autostart);
    const auto file = autostart / kAutostartFileName;
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    ASSERT_TRUE(registerReminderAtLogon("/opt/tortavela", autostart).ok);
    EXPECT_EQ(readBytes(file), autostartEntryText("/opt/tortavela"));
}
