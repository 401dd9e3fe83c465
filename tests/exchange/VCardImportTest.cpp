#include "exchange/CardImport.h"
#include "exchange/ImportMarks.h"
#include "exchange/VCardValue.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

using namespace exchange;
using namespace std::chrono;

namespace {

const year_month_day kToday = 2026y / December / 8d;

std::vector<ImportedCard> importText(const std::string& vcf)
{
    const VCardFile file = readVCards(vcf);
    EXPECT_EQ(file.error, "");
    return importCards(file, kToday);
}

ImportedCard importOne(const std::string& vcf)
{
    std::vector<ImportedCard> cards = importText(vcf);
    EXPECT_EQ(cards.size(), 1u);
    return cards.empty() ? ImportedCard{} : cards.front();
}

} // namespace

TEST(VCardImport, Version21WithQuotedPrintableCharsetsAndBareTypes)
{
    const ImportedCard card = importOne(
        "BEGIN:VCARD\r\nVERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:P=C3=A9rez;=C3=81ngel;;;\r\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=81ngel P=C3=A9rez\r\n"
        "TEL;HOME:911 234 567\r\nTEL;CELL;PREF:600 111\r\n 222\r\n" // 2.1 keeps the blank
        "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Le gusta el f=FAtbol y la =\r\n"
        "m=FAsica=0D=0Acl=E1sica, 100=3D\r\n"
        "BDAY:19800305\r\nEMAIL;INTERNET:angel@example.com\r\n"
        "ADR;HOME;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:;;Calle Mayor "
        "1;Madrid;;28013;Espa=C3=B1a\r\n"
        "END:VCARD\r\n");
    EXPECT_EQ(card.values,
              (ContactValues{"Ángel Pérez", "", "46", "05/03", "600 111 222",
                             "Calle Mayor 1, 28013 Madrid, España", "angel@example.com",
                             "Le gusta el fútbol y la música clásica, 100="}));
    EXPECT_TRUE(card.storable());
    EXPECT_EQ(card.changes, (std::vector<ValueChange>{{Role::Note, ValueChange::LinesJoined, {}}}));
}

TEST(VCardImport, Version30WithEscapesFoldsLowerCaseParametersAndBareLineFeeds)
{
    const ImportedCard card = importOne(
        "BEGIN:VCARD\nVERSION:3.0\nFN:García\\, Lucía\nN:García;Lucía;;;\nNICKNAME:Lu,Lucy\n"
        "BDAY:1990-12-09\ntel;type=work:+34 91 000 00 00\n"
        "item1.TEL;type=voice;type=CELL:+34 600 000 001\nitem1.X-ABLabel:móvil\n"
        "email;type=INTERNET:lucia@example.com\n"
        "NOTE:Tarta\\; sin gluten\\, en C:\\\\tartas. Una nota que se parte en dos lí\n"
        " neas y si\n\tgue\n"
        "ADR;type=home:;Piso 3º B;Avenida de la Constitución\\, 12;Sevilla;Andalucía;41001;\n"
        "END:VCARD\n");
    EXPECT_EQ(card.values,
              (ContactValues{"García, Lucía", "Lu,Lucy", "35", "09/12", "+34 600 000 001",
                             "Avenida de la Constitución, 12, Piso 3º B, 41001 Sevilla, Andalucía",
                             "lucia@example.com",
                             "Tarta; sin gluten, en C:\\tartas. Una nota que se parte en dos "
                             "líneas y sigue"}));
    EXPECT_TRUE(card.changes.empty());
}

TEST(VCardImport, Version40WithByteOrderMarkQuotedTypesAndTelephoneAddresses)
{
    const ImportedCard card =
        importOne("\xEF\xBB\xBF"
                  "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Marta\r\nKIND:individual\r\n"
                  "TEL;VALUE=uri;TYPE=\"voice,cell\";PREF=1:tel:+34-600-000-002\r\n"
                  "BDAY:--0305\r\nNOTE:Primera línea\\nSegunda\r\nEND:VCARD\r\n");
    EXPECT_EQ(card.values, (ContactValues{"Marta", "", "", "05/03", "+34-600-000-002", "", "",
                                          "Primera línea Segunda"}));
}

// The reader unfolds each card into the space of the cards before it: none may spill into the
// next, whatever the line ends and the lines it drops.
TEST(VCardImport, EveryCardOfAFileIsUnfoldedWhateverItsNeighbours)
{
    std::string vcf;
    for (const char* version : {"2.1", "3.0", "2.1"}) {
        vcf += std::string("BEGIN:VCARD\r\nVERSION:") + version +
               "\r\n\r\nFN;ENCODING=QUOTED-PRINTABLE:N=C3=BA=\r\nmero " + version +
               "\r\nNOTE:una\r\n  nota\n\nsin dos puntos\rEMAIL:a@b\rEND:VCARD\n";
    }
    const std::vector<ImportedCard> cards = importText(vcf);
    ASSERT_EQ(cards.size(), 3u);
    for (const ImportedCard& card : cards) {
        const bool keepsBlank = card.values.name == "Número 2.1";
        EXPECT_TRUE(keepsBlank || card.values.name == "Número 3.0") << card.values.name;
        EXPECT_EQ(card.values.note, keepsBlank ? "una  nota" : "una nota");
        EXPECT_EQ(card.values.email, "a@b");
    }
}

TEST(VCardImport, NameComesFromNWhenThereIsNoFullNameAndEmbeddedCardsAreSkipped)
{
    const std::vector<ImportedCard> cards = importText(
        "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Ruiz;Marta;Isabel;Dra.;\r\nAGENT:\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Secretario\r\nEND:VCARD\r\n"
        "TEL:5\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:  \r\nN:;;;;\r\nEND:VCARD\r\n");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].values.name, "Dra. Marta Isabel Ruiz");
    EXPECT_EQ(cards[0].values.phone, "5");
    EXPECT_EQ(cards[1].problems,
              (std::vector<StorageProblem>{{Role::Name, StorageProblem::NoName, {}}}));
}

// What the contact file cannot hold is transliterated; only a name left with nothing stops
// the card, and the character in its way is named.
TEST(VCardImport, TransliteratesWhatTheFileCannotHoldAndRefusesOnlyANameLeftEmpty)
{
    const std::vector<ImportedCard> cards = importText(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:李 Wei\r\nNICKNAME:A§B\r\n"
        "EMAIL:a\\nb@example.com\r\nADR:;;Ulica Łąkowa 1;Kraków;;;\r\n"
        "NOTE;CHARSET=X-INVENTADO:x\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:😀\r\nNICKNAME:❤️\r\nBDAY:--03-05\r\nEND:"
        "VCARD\r\n");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_EQ(cards[0].values, (ContactValues{"Li Wei", "A¶B", "", "", "", "Ulica Lakowa 1, Kraków",
                                              "a b@example.com", "x"}));
    // A line break alone has no Latin form to show.
    EXPECT_EQ(cards[0].changes,
              (std::vector<ValueChange>{
                  {Role::Name, ValueChange::Transliterated, "李 Wei"},
                  {Role::Alias, ValueChange::Transliterated, "A§B"},
                  {Role::Address, ValueChange::Transliterated, "Ulica Łąkowa 1, Kraków"},
                  {Role::Email, ValueChange::LinesJoined, {}}}));
    EXPECT_EQ(cards[0].problems,
              (std::vector<StorageProblem>{
                  {Role::Note, StorageProblem::UnknownCharacterSet, "X-INVENTADO"}}));

    EXPECT_EQ(cards[1].problems,
              (std::vector<StorageProblem>{{Role::Name, StorageProblem::OutsideWindows1252, "😀"}}));
    EXPECT_EQ(describe(cards[1].problems[0]),
              "Nombre: «😀» no se puede guardar: el archivo de contactos solo admite los "
              "caracteres de Windows-1252.");
    EXPECT_EQ(cards[1].values.alias, "");
    EXPECT_EQ(cards[1].changes,
              (std::vector<ValueChange>{{Role::Alias, ValueChange::LeftEmpty, "❤️"}}));
}

// ICU takes microseconds a character: a file with more to transliterate than a book of names
// has is transliterated up to a bound, and the cards past it say why they cannot be imported.
TEST(VCardImport, TransliterationStopsAtItsBoundAndTheCardsPastItSayWhy)
{
    std::string note;
    for (std::size_t i = 1; i < kMostTransliterated; ++i)
        note += "ł";
    const std::string lukasz = "BEGIN:VCARD\r\nFN:Łukasz\r\nEND:VCARD\r\n";
    const std::vector<ImportedCard> cards =
        importText("BEGIN:VCARD\r\nFN:Ana\r\nNOTE:" + note + "\r\nEND:VCARD\r\n" + lukasz + lukasz);
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].values.note, std::string(kMostTransliterated - 1, 'l'));
    EXPECT_EQ(cards[1].values.name, "Lukasz");
    EXPECT_EQ(cards[2].problems, (std::vector<StorageProblem>{
                                     {Role::Name, StorageProblem::TooMuchToTransliterate, {}}}));
    EXPECT_EQ(describe(cards[2].problems[0]),
              "Nombre: no se ha transcrito: el archivo tiene más de 200.000 caracteres fuera de "
              "Windows-1252, y se transcriben hasta 200.000 de una vez.");
}

// Windows programs export UTF-16 with a byte order mark.
TEST(VCardImport, Utf16WithItsByteOrderMarkIsReadInEitherByteOrder)
{
    const std::u16string text = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Łukasz 😀\r\nNOTE:a\xD800"
                                u"b\r\nBDAY:--03-05\r\nEND:VCARD\r\n";
    for (const bool littleEndian : {true, false}) {
        std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
        for (const char16_t unit : text) {
            const auto low = static_cast<char>(unit & 0xFF);
            const auto high = static_cast<char>(unit >> 8);
            bytes += littleEndian ? std::string{low, high} : std::string{high, low};
        }
        const VCardFile file = readVCards(bytes);
        ASSERT_EQ(file.cards.size(), 1u) << file.error;
        EXPECT_EQ(file.cards[0].first("FN")->value, "Łukasz 😀");
        // A surrogate without its pair stands for a character that was lost.
        EXPECT_EQ(file.cards[0].first("NOTE")->value, "a\uFFFDb");
        EXPECT_EQ(file.cards[0].first("BDAY")->value, "--03-05");
    }
}

// As address books read them: a backslash before any character gives the character.
TEST(VCardValue, ABackslashBeforeAnyCharacterGivesThatCharacter)
{
    EXPECT_EQ(unescapeText(R"(Dijo \"hola\"\Ny \nadiós\, \; \\ \: \é \t)"),
              "Dijo \"hola\"\ny \nadiós, ; \\ : é t");
    EXPECT_EQ(unescapeText(R"(termina en \)"), R"(termina en \)");
}

// Old phones wrote Polish and Czech names in ISO-8859-2 or Windows-1250, Russian ones in KOI8-R.
TEST(VCardValue, CharacterSetsAreDecodedThroughIcu)
{
    const auto decoded = [](std::string_view line) {
        const VCardFile file = readVCards("BEGIN:VCARD\r\n" + std::string(line) + "\r\nEND:VCARD");
        return decodeValue(*file.cards.at(0).first("FN"));
    };
    EXPECT_EQ(decoded("FN;CHARSET=ISO-8859-2;ENCODING=QUOTED-PRINTABLE:=A3ukasz").text, "Łukasz");
    EXPECT_EQ(decoded("FN;CHARSET=windows-1250;ENCODING=QUOTED-PRINTABLE:Dvo=F8=E1k").text,
              "Dvořák");
    EXPECT_EQ(decoded("FN;CHARSET=KOI8-R;ENCODING=QUOTED-PRINTABLE:=ED=CF=D3=CB=D7=C1").text,
              "Москва");
    const DecodedValue unknown = decoded("FN;CHARSET=X-INVENTADO:Ana");
    EXPECT_EQ(unknown.text, "Ana");
    EXPECT_EQ(unknown.unknownCharset, "X-INVENTADO");
}

TEST(VCardImport, ControlCharactersFromQuotedPrintableAreBlanksButTheTabIsText)
{
    const std::vector<ImportedCard> cards = importText(
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:Ana=01P=C3=A9rez\r\n"
        "NICKNAME;ENCODING=QUOTED-PRINTABLE:=1B[31mAni\r\n"
        "NOTE;ENCODING=QUOTED-PRINTABLE:uno=09dos=7Ftres\r\n"
        "EMAIL;ENCODING=QUOTED-PRINTABLE:a=00@b\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE:=01\r\nEND:VCARD\r\n");
    ASSERT_EQ(cards.size(), 2u);
    EXPECT_TRUE(cards[0].storable());
    EXPECT_EQ(cards[0].values.name, "Ana Pérez");
    EXPECT_EQ(cards[0].values.alias, "[31mAni");
    EXPECT_EQ(cards[0].values.note, "uno\tdos tres");
    EXPECT_EQ(cards[0].values.email, "a @b");
    // A name of nothing but a control character has nothing left to store.
    EXPECT_EQ(cards[1].problems, (std::vector<StorageProblem>{
                                     {Role::Name, StorageProblem::ControlCharacter, "U+0001"}}));
    EXPECT_EQ(describe(cards[1].problems[0]),
              "Nombre: tiene un carácter de control (U+0001), que no se puede guardar en el "
              "archivo de contactos.");
}

TEST(ImportMarks, NewStoredAndNoBirthdayAsTheAddDialogComparesNames)
{
    std::vector<ImportedCard> cards;
    for (const char* name : {"ANA", "ángel", "Ana ", "Bea"}) {
        ImportedCard card;
        card.values.name = name;
        card.values.birthday = std::string_view(name) == "Bea" ? "" : "05/03";
        cards.push_back(card);
    }
    const std::string angel = cp1252("Ángel");
    EXPECT_EQ(markImport(cards, {"Ana", angel, "Dora"}),
              (std::vector<ImportMark>{ImportMark::NameStored, ImportMark::NameStored,
                                       ImportMark::New, ImportMark::NoBirthday}));
}
