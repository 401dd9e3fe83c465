#include "contacts/Rewrite.h"

#include "contacts/BirthdayMarkers.h"
#include "contacts/ContactStore.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace contacts;

namespace {

constexpr RewriteStep kAllSteps[] = {
    RewriteStep::Locked,          RewriteStep::Read,       RewriteStep::TempCreated,
    RewriteStep::TempWritten,     RewriteStep::TempSynced, RewriteStep::Replaced,
    RewriteStep::DirectorySynced,
};

const std::string kOld = fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", "Prima"}),
                                 recordLine({"Bruno", "", "20", "1/1", "", "", "", ""})});

ContentBuilder appending(std::string line)
{
    return [line](const FileContent& old) -> std::optional<std::string> {
        return old.bytes + line + "\r\n";
    };
}

bool tempFilesRemain(const std::filesystem::path& dir)
{
    return std::filesystem::exists(dir / kRemovalTempName) ||
           std::filesystem::exists(dir / kRewriteTempName);
}

bool tempFilesRemain(const TempDir& dir)
{
    return tempFilesRemain(dir.path());
}

} // namespace

TEST(Rewrite, LinesItDoesNotChangeAreWrittenBackByteForByte)
{
    TempDir dir;
    // Undefined bytes, a NUL, text after the eighth terminator, a bare LF and no final line end.
    const std::string odd =
        std::string("Z\x81\x8D\x8F\x90\x9D\0\xA7", 8) + "\xA7\xA7\xA7\xA7\xA7\xA7\xA7sobra";
    writeBytes(dir / "data.tvl", odd + "\nAna\xA7\xA7\xA7\xA7\xA7\xA7\xA7\xA7");
    ContactStore store(dir.path());
    store.load();
    const auto result =
        store.add(*Contact::fromStoredLine("Nuevo\xA7\xA7\xA7\xA7\xA7\xA7\xA7\xA7"));
    ASSERT_TRUE(result.written()) << result.error;
    EXPECT_EQ(
        readBytes(dir / "data.tvl"),
        odd +
            "\r\nAna\xA7\xA7\xA7\xA7\xA7\xA7\xA7\xA7\r\nNuevo\xA7\xA7\xA7\xA7\xA7\xA7\xA7\xA7\r\n");
    EXPECT_FALSE(tempFilesRemain(dir));
}

TEST(Rewrite, KeepsTheContactFilesPermissions)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", kOld);
    ASSERT_EQ(::chmod((dir / "data.tvl").c_str(), 0640), 0);
    ASSERT_TRUE(rewriteContactFile(dir.path(), TempFile::Rewrite, appending("x")).written());
    struct stat info {};
    ASSERT_EQ(::stat((dir / "data.tvl").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(Rewrite, AFailingStepLeavesTheWholeOldOrTheWholeNewContent)
{
    for (TempFile temp : {TempFile::Removal, TempFile::Rewrite}) {
        for (RewriteStep failing : kAllSteps) {
            TempDir dir;
            writeBytes(dir / "data.tvl", kOld);
            RewriteHooks hooks{[&](RewriteStep step) { return step != failing; }};
            const auto result = rewriteContactFile(dir.path(), temp, appending("Nuevo"), hooks);
            const std::string now = readBytes(dir / "data.tvl");
            const bool replaced =
                failing == RewriteStep::Replaced || failing == RewriteStep::DirectorySynced;
            EXPECT_FALSE(result.written());
            EXPECT_EQ(now, replaced ? kOld + "Nuevo\r\n" : kOld) << static_cast<int>(failing);
            EXPECT_FALSE(tempFilesRemain(dir)) << static_cast<int>(failing);
        }
    }
}

TEST(Rewrite, AProcessKilledAtAnyStepLeavesTheWholeOldOrTheWholeNewContent)
{
    for (TempFile temp : {TempFile::Removal, TempFile::Rewrite}) {
        for (RewriteStep dying : kAllSteps) {
            TempDir dir;
            writeBytes(dir / "data.tvl", kOld);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                RewriteHooks hooks{[&](RewriteStep step) {
                    if (step == dying)
                        ::_exit(0); // dies on the spot: no clean-up, no destructors
                    return true;
                }};
                rewriteContactFile(dir.path(), temp, appending("Nuevo"), hooks);
                ::_exit(1);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            const std::string now = readBytes(dir / "data.tvl");
            EXPECT_TRUE(now == kOld || now == kOld + "Nuevo\r\n") << static_cast<int>(dying);

            // The next rewrite gets past whatever the dead one left behind.
            ASSERT_TRUE(rewriteContactFile(dir.path(), temp, appending("Otro")).written());
            EXPECT_EQ(readBytes(dir / "data.tvl"), now + "Otro\r\n");
            EXPECT_FALSE(tempFilesRemain(dir));
        }
    }
}

TEST(Rewrite, TwoProcessesRewritingAtOnceLoseNoUpdate)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", "0\r\n");
    constexpr int kRounds = 150;
    // Each round reads the counter on the first line, adds one and appends a line of its own:
    // an update lost to an interleaving shows as a wrong count or a missing line.
    const auto work = [&](char who) {
        for (int i = 0; i < kRounds; ++i) {
            const auto result =
                rewriteContactFile(dir.path(), who == 'a' ? TempFile::Rewrite : TempFile::Removal,
                                   [&](const FileContent& old) -> std::optional<std::string> {
                                       const size_t end = old.bytes.find("\r\n");
                                       const int counter = std::stoi(old.bytes.substr(0, end));
                                       return std::to_string(counter + 1) + old.bytes.substr(end) +
                                              who + std::to_string(i) + "\r\n";
                                   });
            if (!result.written())
                return false;
        }
        return true;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(work('b') ? 0 : 1);
    EXPECT_TRUE(work('a'));
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const std::string content = readBytes(dir / "data.tvl");
    EXPECT_EQ(content.substr(0, content.find("\r\n")), std::to_string(2 * kRounds));
    for (int i = 0; i < kRounds; ++i) {
        EXPECT_NE(content.find("\na" + std::to_string(i) + "\r"), std::string::npos) << i;
        EXPECT_NE(content.find("\nb" + std::to_string(i) + "\r"), std::string::npos) << i;
    }
}

TEST(Rewrite, AnUnreadableContactFileIsNeverReplaced)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "data.tvl");
    const auto result = rewriteContactFile(dir.path(), TempFile::Rewrite, appending("x"));
    EXPECT_EQ(result.outcome, RewriteResult::Outcome::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "data.tvl"));
    EXPECT_FALSE(tempFilesRemain(dir));
}

TEST(Rewrite, ABuilderThatDeclinesChangesNothing)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", kOld);
    const auto result = rewriteContactFile(dir.path(), TempFile::Rewrite,
                                           [](const FileContent&) { return std::nullopt; });
    EXPECT_EQ(result.outcome, RewriteResult::Outcome::Declined);
    EXPECT_EQ(readBytes(dir / "data.tvl"), kOld);
    EXPECT_FALSE(tempFilesRemain(dir));
}

TEST(Rewrite, ATemporaryFileThatCannotBeMadeFailsAndKeepsTheFile)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", kOld);
    // A folder (not empty) where the temporary file should go: even root cannot replace it.
    std::filesystem::create_directories(dir / "data2.tvl" / "inside");
    const auto result = rewriteContactFile(dir.path(), TempFile::Rewrite, appending("x"));
    EXPECT_EQ(result.outcome, RewriteResult::Outcome::Failed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(readBytes(dir / "data.tvl"), kOld);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "data2.tvl" / "inside"));
}

TEST(Rewrite, ALinkedContactFileStaysALinkToItsTarget)
{
    for (TempFile temp : {TempFile::Removal, TempFile::Rewrite}) {
        TempDir dir;
        std::filesystem::create_directories(dir / "programa");
        std::filesystem::create_directories(dir / "sincronizada");
        const std::filesystem::path programDir = dir / "programa";
        writeBytes(dir / "sincronizada" / "contactos.tvl", kOld);
        // A relative link to a relative link, as a synced folder may be set up.
        std::filesystem::create_symlink("contactos.tvl", dir / "sincronizada" / "enlace.tvl");
        std::filesystem::create_symlink("../sincronizada/enlace.tvl", programDir / "data.tvl");

        ASSERT_TRUE(rewriteContactFile(programDir, temp, appending("Nuevo")).written());
        EXPECT_TRUE(std::filesystem::is_symlink(programDir / "data.tvl"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "sincronizada" / "enlace.tvl"));
        EXPECT_EQ(readBytes(dir / "sincronizada" / "contactos.tvl"), kOld + "Nuevo\r\n");
        // The temporary file went beside the target, and is gone.
        EXPECT_FALSE(tempFilesRemain(dir / "sincronizada"));
        EXPECT_FALSE(std::filesystem::exists(programDir / std::string(tempFileName(temp))));
    }
}

TEST(Rewrite, ALinkWhoseTargetIsMissingGetsItsTargetCreated)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "sincronizada");
    std::filesystem::create_symlink(dir / "sincronizada" / "contactos.tvl", dir / "data.tvl");
    ASSERT_TRUE(rewriteContactFile(dir.path(), TempFile::Rewrite,
                                   [](const FileContent& old) -> std::optional<std::string> {
                                       EXPECT_EQ(old.status, FileContent::Status::Missing);
                                       return "Nuevo\r\n";
                                   })
                    .written());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "data.tvl"));
    EXPECT_EQ(readBytes(dir / "sincronizada" / "contactos.tvl"), "Nuevo\r\n");
}

// A marked rewrite killed between its markers and its rename, or after the rename, then a plain
// rewrite of the other program before the marked one runs again: the plain one settles first.
TEST(Rewrite, APlainRewriteSettlesAMarkedOneKilledBeforeIt)
{
    for (RewriteStep dying : {RewriteStep::MarkerMade, RewriteStep::Replaced}) {
        TempDir dir;
        writeBytes(dir / "data.tvl", kOld);
        const MarkerFile marker = birthdayMarker(std::chrono::year{2026} / 12 / 7, "Ana", "");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RewriteHooks hooks;
            hooks.atStep = [&](RewriteStep step) {
                if (step == dying)
                    ::_exit(0);
                return true;
            };
            rewriteContactFileWithMarkers(
                dir.path(), TempFile::Rewrite,
                [&](const FileContent& old, const std::vector<MarkerFile>&) {
                    return std::optional<MarkedContent>({old.bytes + "Marcado\r\n", {marker}});
                },
                hooks);
            ::_exit(1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_TRUE(std::filesystem::exists(dir / marker.name));
        ASSERT_TRUE(std::filesystem::exists(dir / "data.tvl.journal"));

        ASSERT_TRUE(rewriteContactFile(dir.path(), TempFile::Removal, appending("Otro")).written());
        const bool renamed = dying == RewriteStep::Replaced;
        EXPECT_EQ(readBytes(dir / "data.tvl"), kOld + (renamed ? "Marcado\r\n" : "") + "Otro\r\n");
        EXPECT_EQ(std::filesystem::exists(dir / marker.name), renamed);
        EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl.journal"));
    }
}

// The journal is trusted only for the markers a rewrite makes. One that names anything else (a
// file outside the program directory, through a link or not, the contact file or one of the
// program's own files) is dropped whole: nothing it names is removed, a marker it names beside
// them included, and the change goes through.
TEST(Rewrite, AJournalNamingAnythingButMarkersIsDroppedWhole)
{
    TempDir outer;
    const std::filesystem::path dir = outer / "programa";
    std::filesystem::create_directories(dir / "sincronizada");
    std::filesystem::create_directory_symlink(outer.path(), dir / "enlace");
    const MarkerFile marker = birthdayMarker(std::chrono::year{2026} / 12 / 7, "Ana", "");
    for (const std::string& named :
         {std::string("../victima"), (outer / "victima").string(), std::string("enlace/victima"),
          std::string("data.tvl"), std::string(".Agendela.lock"), std::string("data.tvl.lock")}) {
        SCOPED_TRACE(named);
        writeBytes(outer / "victima", "privado");
        writeBytes(dir / ".Agendela.lock", "");
        writeBytes(dir / "sincronizada" / "contactos.tvl", kOld);
        std::filesystem::remove(dir / "data.tvl");
        std::filesystem::create_symlink("sincronizada/contactos.tvl", dir / "data.tvl");
        writeBytes(dir / marker.name, "");
        // Size and hash of no content: every marker it names would go.
        writeBytes(dir / "data.tvl.journal",
                   "Tortavela journal 1\n0\t0\n" + marker.name + "\t\n" + named + "\t\nend\n");

        ASSERT_TRUE(rewriteContactFile(dir, TempFile::Removal, appending("Otro")).written());
        EXPECT_EQ(readBytes(outer / "victima"), "privado");
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "data.tvl"));
        EXPECT_EQ(readBytes(dir / "data.tvl"), kOld + "Otro\r\n");
        EXPECT_TRUE(std::filesystem::exists(dir / ".Agendela.lock"));
        EXPECT_TRUE(std::filesystem::exists(dir / marker.name));
        EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl.journal"));
    }
}

// In a directory shared with other users, a journal one of them wrote is nobody's word.
TEST(Rewrite, AJournalOfAnotherUserIsDroppedWhole)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a file to another user";
    TempDir dir;
    writeBytes(dir / "data.tvl", kOld);
    const MarkerFile marker = birthdayMarker(std::chrono::year{2026} / 12 / 7, "Ana", "");
    writeBytes(dir / marker.name, "");
    writeBytes(dir / "data.tvl.journal", "Tortavela journal 1\n0\t0\n" + marker.name + "\t\nend\n");
    ASSERT_EQ(::chown((dir / "data.tvl.journal").c_str(), 65534, 65534), 0);

    ASSERT_TRUE(rewriteContactFile(dir.path(), TempFile::Removal, appending("Otro")).written());
    EXPECT_TRUE(std::filesystem::exists(dir / marker.name));
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl.journal"));
}

// A link in the lock's place never makes a file where it points, and another user's lock file
// (which that user could hold for ever) is not waited on: the lock moves to the user's own
// runtime directory.
TEST(Rewrite, ALockFileThatIsNotTheUsersOwnIsNotUsed)
{
    TempDir outer;
    const std::filesystem::path dir = outer / "programa";
    const std::filesystem::path runtime = outer / "runtime";
    std::filesystem::create_directories(dir);
    std::filesystem::create_directories(runtime);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    writeBytes(dir / "data.tvl", kOld);
    std::filesystem::create_symlink(outer / "creado", dir / "data.tvl.lock");
    EXPECT_TRUE(rewriteContactFile(dir, TempFile::Removal, appending("Otro")).written());
    EXPECT_FALSE(std::filesystem::exists(outer / "creado"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(runtime), {}), 1);

    if (::geteuid() == 0) {
        std::filesystem::remove(dir / "data.tvl.lock");
        writeBytes(dir / "data.tvl.lock", "");
        ASSERT_EQ(::chown((dir / "data.tvl.lock").c_str(), 65534, 65534), 0);
        ::chmod((dir / "data.tvl.lock").c_str(), 0644);
        // Held by its owner, it would keep every change waiting.
        const pid_t holder = ::fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            const int fd = ::open((dir / "data.tvl.lock").c_str(), O_RDONLY);
            ::flock(fd, LOCK_EX);
            ::pause();
            ::_exit(0);
        }
        EXPECT_TRUE(rewriteContactFile(dir, TempFile::Removal, appending("Tercero")).written());
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
    }
    ::unsetenv("XDG_RUNTIME_DIR");
}

// Another program that holds the lock for longer than a rewrite ever does makes the change
// fail, saying so, instead of waiting for ever.
TEST(Rewrite, ALockHeldForLongGivesUpWithTheReason)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", kOld);
    // flock keeps two descriptors of one process apart as it keeps two processes.
    const auto held =
        sys::FileLock::acquireFor(dir.path(), kRewriteLockName, sys::FileLock::Mode::TryOnce);
    ASSERT_TRUE(held.lock);
    int asked = 0;
    RewriteHooks hooks;
    hooks.whileLocked = [&](std::chrono::milliseconds) { return ++asked < 5; };
    const RewriteResult result =
        rewriteContactFile(dir.path(), TempFile::Removal, appending("Otro"), hooks);
    EXPECT_FALSE(result.written());
    EXPECT_TRUE(result.lockHeld);
    EXPECT_EQ(asked, 5);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(readBytes(dir / "data.tvl"), kOld);
}
