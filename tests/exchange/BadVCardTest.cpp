#include "exchange/VCardReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <random>

using namespace exchange;

namespace {

// A refused file gives its own message and no card.
void expectRefused(const VCardFile& file, std::string_view why)
{
    EXPECT_TRUE(file.cards.empty());
    EXPECT_NE(file.error.find(why), std::string::npos) << file.error;
}

} // namespace

TEST(BadVCard, EachKindOfWrongFileGetsItsOwnMessageAndNoCard)
{
    expectRefused(readVCards(""), "ninguna tarjeta");
    expectRefused(readVCards("Nombre,Teléfono\r\nAna,600\r\n"), "ninguna tarjeta");
    expectRefused(readVCards("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bea\r\n"),
                  "línea 5 no termina");
    // UTF-16 without its byte order mark cannot be told from binary data.
    expectRefused(readVCards(std::string("B\0E\0G\0", 6)), "no es de texto");
    expectRefused(readVCards(std::string(50'000'000, 'A')), "demasiado grande");
}

TEST(BadVCard, MoreCardsThanTheLimitAreRefusedAndTheLimitItselfIsRead)
{
    const std::string empty = "BEGIN:VCARD\r\nEND:VCARD\r\n";
    // The card that a 2.1 AGENT embeds is no card of the file.
    std::string cards = "BEGIN:VCARD\r\nAGENT:\r\n" + empty + "END:VCARD\r\n";
    for (std::size_t i = 1; i < kMaxVCardCards; ++i)
        cards += empty;
    EXPECT_EQ(readVCards(cards).cards.size(), kMaxVCardCards);
    expectRefused(readVCards(cards + empty), "más de 50.000 tarjetas");
}

TEST(BadVCard, BinaryJunkIsRefusedWhateverItsBytes)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 200; ++round) {
        std::string junk(256 + random() % 4096, '\0');
        for (char& c : junk)
            c = static_cast<char>(random());
        expectRefused(readVCards("BEGIN:VCARD\r\n" + junk + "\r\nEND:VCARD\r\n"), "no es de texto");
    }
}

TEST(BadVCard, AFileTooLargeIsRefusedBeforeItIsRead)
{
    TempDir dir;
    const auto huge = dir / "huge.vcf";
    writeBytes(huge, "BEGIN:VCARD\r\n");
    std::filesystem::resize_file(huge, 50'000'000); // sparse: nothing to read but zeros
    expectRefused(readVCardFile(huge), "demasiado grande");
    expectRefused(readVCardFile(dir / "missing.vcf"), "No se puede leer");

    writeBytes(dir / "one.vcf", "BEGIN:VCARD\nFN:Ana\nEND:VCARD");
    const VCardFile one = readVCardFile(dir / "one.vcf");
    ASSERT_EQ(one.cards.size(), 1u);
    EXPECT_EQ(one.cards[0].first("FN")->value, "Ana");
}
