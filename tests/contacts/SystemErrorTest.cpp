#include "system/SystemError.h"

#include "contacts/ContactStore.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace contacts;
using sys::describeSystemError;

namespace {

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

// Writes longer than `bytes` to a regular file fail with EFBIG while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

} // namespace

// The reason of a failed change reads in Spanish whatever the system's language: the system's
// own text ("File too large") would sit inside a Spanish message box.
TEST(SystemError, AFailedChangeSaysWhyInSpanish)
{
    TempDir dir;
    std::string content;
    for (int i = 0; i < 40; ++i)
        content +=
            recordLine({"Contacto " + std::to_string(i), "", "30", "05/03", "", "", "", ""}) +
            "\r\n";
    writeBytes(dir / "data.tvl", content);
    ContactStore store(dir.path());
    ASSERT_EQ(store.load().status, LoadResult::Status::Read);
    ChangeAnswer answer;
    {
        const FileSizeLimit limit(content.size() / 2);
        answer = store.add(
            *Contact::fromStoredLine(recordLine({"Nuevo", "", "1", "01/01", "", "", "", ""})));
    }
    EXPECT_EQ(answer.outcome, ChangeAnswer::Outcome::Failed);
    EXPECT_TRUE(startsWith(answer.error, "El archivo sería demasiado grande")) << answer.error;
    EXPECT_EQ(answer.error.find(std::strerror(EFBIG)), std::string::npos) << answer.error;
    EXPECT_EQ(readBytes(dir / "data.tvl"), content);
}

// A failure without a sentence of its own still starts in Spanish; the system's text, in
// whatever language, is only a detail after it.
TEST(SystemError, TheSystemsOwnTextIsOnlyADetail)
{
    const std::string rare = describeSystemError(EXDEV);
    EXPECT_TRUE(startsWith(rare, "Error del sistema (EXDEV: ")) << rare;
    EXPECT_NE(rare.find(std::strerror(EXDEV)), std::string::npos) << rare;
}
