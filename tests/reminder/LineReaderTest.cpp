#include "reminder/core/LineReader.h"

#include "contacts/Lines.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

using reminder::LineReader;

namespace {

// What the reader gives for a passed-over line.
const std::string kTooLong = "<too long>";

std::vector<std::string> linesByReader(const std::filesystem::path& file, std::size_t blockSize,
                                       std::size_t maxLine = std::size_t{1} << 30)
{
    const int fd = ::open(file.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    LineReader reader(fd, maxLine, blockSize);
    std::vector<std::string> lines;
    LineReader::Line line;
    LineReader::Result result;
    while ((result = reader.next(line)) == LineReader::Result::Line ||
           result == LineReader::Result::TooLong) {
        lines.emplace_back(result == LineReader::Result::Line ? std::string(line.text) : kTooLong);
        // The terminators noted on the way are the line's first ones.
        std::vector<std::size_t> first;
        for (std::size_t at = 0; first.size() < LineReader::kNotedTerminators; ++at) {
            at = line.text.find('\xA7', at);
            if (at == std::string_view::npos)
                break;
            first.push_back(at);
        }
        EXPECT_EQ(std::vector<std::size_t>(line.terminators.begin(),
                                           line.terminators.begin() + line.terminatorCount),
                  first)
            << line.text;
    }
    EXPECT_EQ(result, LineReader::Result::End);
    ::close(fd);
    return lines;
}

std::vector<std::string> linesBySplitting(const std::string& content)
{
    std::vector<std::string> lines;
    for (std::string_view line : contacts::splitLines(content))
        lines.emplace_back(line);
    return lines;
}

// The scan must see the lines every other reader sees, wherever the blocks cut the file, with
// every form of the search the processor has.
class LineReaderSearch : public testing::TestWithParam<LineReader::Search> {
protected:
    void SetUp() override
    {
        if (!LineReader::useSearch(GetParam()))
            GTEST_SKIP() << "this processor lacks that search";
    }
    // Back to the form the reader starts with.
    void TearDown() override
    {
        if (!LineReader::useSearch(LineReader::Search::Avx2))
            LineReader::useSearch(LineReader::Search::Sse2);
    }
};

TEST_P(LineReaderSearch, ReadsTheSameLinesAsTheWholeFileReader)
{
    TempDir dir;
    std::mt19937 random(7);
    const std::string alphabet = "ab\xA7\xA7\r\n\n\r";
    for (int round = 0; round < 300; ++round) {
        std::string content(random() % 200, ' ');
        for (char& c : content)
            c = alphabet[random() % alphabet.size()];
        writeBytes(dir / "f", content);
        for (std::size_t block : {1u, 2u, 3u, 7u, 64u}) {
            ASSERT_EQ(linesByReader(dir / "f", block), linesBySplitting(content))
                << "round " << round << ", block " << block;
        }
    }
}

std::string searchName(const testing::TestParamInfo<LineReader::Search>& info)
{
    switch (info.param) {
    case LineReader::Search::Bytewise:
        return "Bytewise";
    case LineReader::Search::Sse2:
        return "Sse2";
    case LineReader::Search::Avx2:
        return "Avx2";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Forms, LineReaderSearch,
                         testing::Values(LineReader::Search::Bytewise, LineReader::Search::Sse2,
                                         LineReader::Search::Avx2),
                         searchName);

TEST(LineReader, LineEndsCutByTheBlockBoundary)
{
    TempDir dir;
    // Block of 4: "abc\r" | "\ndef" | "\r" then end; "\r\n" is one line end across blocks.
    writeBytes(dir / "f", "abc\r\ndef\r");
    EXPECT_EQ(linesByReader(dir / "f", 4), (std::vector<std::string>{"abc", "def"}));
    writeBytes(dir / "f", "abc\r\r\ndef");
    EXPECT_EQ(linesByReader(dir / "f", 4), (std::vector<std::string>{"abc", "", "def"}));
}

TEST(LineReader, LinesLongerThanManyBlocks)
{
    TempDir dir;
    const std::string huge(3 * LineReader::kBlockSize + 17, 'x');
    writeBytes(dir / "f", huge + "\r\nshort\r\n" + huge);
    EXPECT_EQ(linesByReader(dir / "f", LineReader::kBlockSize),
              (std::vector<std::string>{huge, "short", huge}));
}

TEST(LineReader, LinesOverTheLimitArePassedOverWithoutBeingKept)
{
    TempDir dir;
    const std::string limit(100, 'x');
    // Lines just within and just over the limit, one over it that ends the file without a line
    // end, and line ends cut by the blocks.
    writeBytes(dir / "f", limit + "\r\n" + limit + "y\r\nshort\n" + std::string(1000, '\0') + "\r" +
                              limit + "zz");
    for (std::size_t block : {7u, 64u, 100u, 4096u}) {
        EXPECT_EQ(linesByReader(dir / "f", block, limit.size()),
                  (std::vector<std::string>{limit, kTooLong, "short", kTooLong, kTooLong}))
            << "block " << block;
    }
}

TEST(LineReader, CarriageReturnsAloneEndLines)
{
    TempDir dir;
    std::string content;
    for (int i = 0; i < 20000; ++i)
        content += "linea\r";
    writeBytes(dir / "f", content);
    EXPECT_EQ(linesByReader(dir / "f", LineReader::kBlockSize).size(), 20000u);
}

TEST(LineReader, AReadErrorIsReported)
{
    TempDir dir;
    const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    LineReader reader(fd, 1024);
    std::string_view line;
    EXPECT_EQ(reader.next(line), LineReader::Result::Failed);
    ::close(fd);
}

} // namespace
