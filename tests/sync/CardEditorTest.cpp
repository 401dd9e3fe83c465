#include "exchange/CardEditor.h"

#include "exchange/CardImport.h"
#include "exchange/VCardReader.h"

#include <gtest/gtest.h>

using namespace exchange;

namespace {

// A phone's card: a photo folded over lines, a group, a 2.1-style encoded note, the company and
// a second number, none of which the book holds.
const std::string kCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "UID:abc-123\r\n"
    "FN:Ana Pérez\r\n"
    "N:Pérez;Ana;;;\r\n"
    "ORG:Panadería\r\n"
    "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAAMCAgMCAgMDAw\r\n"
    " MEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIU\r\n"
    "TEL;TYPE=WORK:+34 91 000 00 00\r\n"
    "item1.TEL;TYPE=CELL:+34 600 00 00 00\r\n"
    "item1.X-ABLABEL:móvil\r\n"
    "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:Prima de =C3=81lvaro=\r\n"
    " y de Bea\r\n"
    "BDAY:1990-03-05\r\n"
    "END:VCARD\r\n";

ContactValues read(const std::string& card)
{
    const VCardFile file = readVCards(card);
    EXPECT_EQ(file.cards.size(), 1u);
    return importCard(file.cards.front(), std::chrono::year{2026} / 12 / 8).values;
}

} // namespace

// Only what the book holds changes; everything else stays byte for byte, the photo's folding
// and the second number's group included.
TEST(CardEditor, ChangesOnlyWhatTheBookHolds)
{
    CardChange change;
    change.phone = "+34 611 11 11 11";
    change.note = "Prima; de Álvaro";
    change.email = "ana@example.org";
    const std::string edited = editCard(kCard, change);

    for (const char* kept :
         {"UID:abc-123\r\n", "FN:Ana Pérez\r\n", "N:Pérez;Ana;;;\r\n", "ORG:Panadería\r\n",
          "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAAMCAgMCAgMDAw\r\n"
          " MEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIU\r\n",
          "TEL;TYPE=WORK:+34 91 000 00 00\r\n", "item1.X-ABLABEL:móvil\r\n", "BDAY:1990-03-05\r\n"})
        EXPECT_NE(edited.find(kept), std::string::npos) << kept;
    // The cell number of its group changed, the encoded note is plain text now.
    EXPECT_NE(edited.find("item1.TEL;TYPE=CELL:+34 611 11 11 11\r\n"), std::string::npos);
    EXPECT_NE(edited.find("NOTE:Prima\\; de Álvaro\r\n"), std::string::npos);
    EXPECT_EQ(edited.find("QUOTED-PRINTABLE"), std::string::npos);
    // A property the card lacked comes before its end.
    EXPECT_NE(edited.find("EMAIL;TYPE=INTERNET:ana@example.org\r\nEND:VCARD\r\n"),
              std::string::npos);

    const ContactValues values = read(edited);
    EXPECT_EQ(values.phone, "+34 611 11 11 11");
    EXPECT_EQ(values.note, "Prima; de Álvaro");
    EXPECT_EQ(values.name, "Ana Pérez");
}

TEST(CardEditor, ARenameRewritesTheNameAndAnEmptyValueRemovesTheProperty)
{
    CardChange change;
    change.name = "Ana María Pérez";
    change.phone = "";
    change.birthday = "--03-06";
    const std::string edited = editCard(kCard, change);
    const ContactValues values = read(edited);
    EXPECT_EQ(values.name, "Ana María Pérez");
    EXPECT_NE(edited.find("N:;Ana María Pérez;;;\r\n"), std::string::npos);
    // The cell number is gone; the work number is now the phone.
    EXPECT_EQ(values.phone, "+34 91 000 00 00");
    EXPECT_EQ(values.birthday, "06/03");
    EXPECT_EQ(editCard(kCard, CardChange{}), kCard);
}
