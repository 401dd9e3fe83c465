// What may stand where "data.tvl" is expected: only a regular file of a bounded size is read;
// anything else is refused at once, with a reason the user can act on.
#include "contacts/ContactFile.h"

#include "contacts/Rewrite.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace contacts;

namespace {

// The read runs in a child that an alarm ends, so that a read which blocks fails the test
// instead of hanging the suite. Gives the child's verdict: 0 when the read was refused as
// expected.
int refusedInAChild(const std::filesystem::path& programDir, std::string_view reason)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(5);
        const FileContent content = readContactFile(programDir);
        const bool refused = content.status == FileContent::Status::Failed &&
                             content.error.find(reason) != std::string::npos;
        ::_exit(refused ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A file of NUL bytes that takes no room on the disk.
void makeSparseFile(const std::filesystem::path& file, std::uint64_t size)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
}

TEST(ContactFile, SpecialFilesAreRefusedAtOnceWithAReason)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "data.tvl").c_str(), 0644), 0);
    EXPECT_EQ(refusedInAChild(dir.path(), "FIFO"), 0) << "a FIFO without a writer";
    std::filesystem::remove(dir / "data.tvl");

    for (const char* device : {"/dev/zero", "/dev/urandom"}) {
        std::filesystem::create_symlink(device, dir / "data.tvl");
        EXPECT_EQ(refusedInAChild(dir.path(), "dispositivo"), 0) << device;
        std::filesystem::remove(dir / "data.tvl");
    }
    std::filesystem::create_directory(dir / "data.tvl");
    EXPECT_EQ(refusedInAChild(dir.path(), "carpeta"), 0);
}

TEST(ContactFile, AFileOverTheLimitIsRefusedWithoutReadingIt)
{
    TempDir dir;
    for (std::uint64_t size : {kMaxContactFileBytes + 1, std::uint64_t{1} << 30}) {
        makeSparseFile(dir / "data.tvl", size);
        const FileContent content = readContactFile(dir.path());
        EXPECT_EQ(content.status, FileContent::Status::Failed) << size;
        EXPECT_TRUE(content.tooLarge) << size;
        EXPECT_NE(content.error.find("64 MB"), std::string::npos) << content.error;
        EXPECT_TRUE(content.bytes.empty());

        // No rewrite touches it either.
        const auto rewrite = rewriteContactFile(
            dir.path(), TempFile::Rewrite,
            [](const FileContent& old) -> std::optional<std::string> { return old.bytes; });
        EXPECT_TRUE(rewrite.tooLarge);
        EXPECT_EQ(std::filesystem::file_size(dir / "data.tvl"), size);
    }
    // At the limit itself it is read.
    makeSparseFile(dir / "data.tvl", kMaxContactFileBytes);
    EXPECT_EQ(readContactFile(dir.path()).bytes.size(), kMaxContactFileBytes);
}

TEST(ContactFile, NoRewriteWritesAFileOverTheLimit)
{
    TempDir dir;
    const std::string kept = fileOf({recordLine({"Ana", "", "30", "05/03", "", "", "", ""})});
    writeBytes(dir / "data.tvl", kept);
    const auto result = rewriteContactFile(
        dir.path(), TempFile::Rewrite, [](const FileContent& old) -> std::optional<std::string> {
            return old.bytes + std::string(kMaxContactFileBytes, 'x');
        });
    EXPECT_EQ(result.outcome, RewriteResult::Outcome::Failed);
    EXPECT_TRUE(result.tooLarge);
    EXPECT_EQ(readBytes(dir / "data.tvl"), kept);
    EXPECT_FALSE(std::filesystem::exists(dir / "data2.tvl"));
}

} // namespace
