#include "LineReader.h"

#include "Lines.h"
#include "TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

using reminder::LineReader;

namespace {

std::vector<std::string> linesByReader(const std::filesystem::path& file, std::size_t blockSize)
{
    const int fd = ::open(file.c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    LineReader reader(fd, blockSize);
    std::vector<std::string> lines;
    std::string_view line;
    LineReader::Result result;
    while ((result = reader.next(line)) == LineReader::Result::Line)
        lines.emplace_back(line);
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

// The scan must see the lines every other reader sees, wherever the blocks cut the file.
TEST(LineReader, ReadsTheSameLinesAsTheWholeFileReader)
{
    TempDir dir;
    std::mt19937 random(7);
    const std::string alphabet = "ab\xA7\r\n\n\r";
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

TEST(LineReader, CarriageReturnsAloneEndLinesWithoutRescanning)
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
    LineReader reader(fd);
    std::string_view line;
    EXPECT_EQ(reader.next(line), LineReader::Result::Failed);
    ::close(fd);
}

} // namespace
