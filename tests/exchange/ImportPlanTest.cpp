#include "exchange/ImportPlan.h"

#include "contacts/BirthdayMarkers.h"
#include "exchange/ContactAdapter.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

using namespace exchange;
using namespace std::chrono;

namespace {

const year_month_day kToday = 2026y / December / 8d;

contacts::Contact storedContact(const std::vector<std::string>& utf8Fields)
{
    return *contacts::Contact::fromStoredLine(recordLine(utf8Fields));
}

std::string card(const std::string& name, const std::string& more = "BDAY:1990-03-05\r\n")
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\n" + more + "END:VCARD\r\n";
}

std::vector<ImportRow> plan(const std::string& vcf, const std::vector<contacts::Contact>& stored,
                            const std::vector<std::string>& unreadable = {})
{
    const VCardFile file = readVCards(vcf);
    EXPECT_EQ(file.error, "");
    return planImport(importCards(file, kToday), stored, unreadable);
}

std::vector<std::size_t> all(const std::vector<ImportRow>& rows)
{
    std::vector<std::size_t> indexes(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        indexes[i] = i;
    return indexes;
}

} // namespace

TEST(ContactAdapter, ConvertsEveryFileByteBothWaysAndRefusesWhatTheFileCannotHold)
{
    // "€" is 80 and the undefined 81 stands for itself: both survive the round trip.
    const contacts::Contact stored =
        *contacts::Contact::fromStoredLine(cp1252("Begoña\xC2\x81§€§30§05/03§§Calle Ñ§§nota§"));
    const ContactValues values = toContactValues(stored);
    EXPECT_EQ(values.name, "Begoña\xC2\x81");
    EXPECT_EQ(values.alias, "€");
    ASSERT_TRUE(toContact(values));
    EXPECT_EQ(toContact(values)->line(), stored.line());

    for (const char* bad : {"李", "a§b", "a\nb"}) {
        ContactValues withBad = values;
        withBad.note = bad;
        EXPECT_FALSE(toContact(withBad)) << bad;
    }
}

TEST(ImportPlan, MarksEachCardAndSaysWhyOneCannotBeImported)
{
    const auto rows = plan(card("Dora") + card("Ana") + card("Eva", "") + card("Łukasz") +
                               card("😀") + card("Rota"),
                           {storedContact({"ana", "", "30", "05/03", "", "", "", ""})}, {"Rota"});
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].mark, ImportMark::New);
    EXPECT_TRUE(rows[0].chosenAtFirst());
    EXPECT_EQ(rows[1].mark, ImportMark::NameStored);
    EXPECT_TRUE(rows[1].choosable());
    EXPECT_FALSE(rows[1].chosenAtFirst());
    EXPECT_EQ(rows[2].mark, ImportMark::NoBirthday);
    // A transliterated name is imported like any other, and the row says how it is stored.
    EXPECT_EQ(rows[3].mark, ImportMark::New);
    EXPECT_TRUE(rows[3].chosenAtFirst());
    EXPECT_EQ(rows[3].result.name, "Lukasz");
    EXPECT_EQ(rows[3].remarks(),
              std::vector<std::string>{"Nombre: «Łukasz» se guarda como «Lukasz»: el archivo de "
                                       "contactos no admite todos sus caracteres."});
    // A name stored on a line that holds no contact cannot be updated.
    EXPECT_EQ(rows[5].mark, ImportMark::NameStored);
    for (std::size_t i : {2, 4, 5}) {
        EXPECT_FALSE(rows[i].choosable()) << i;
        EXPECT_EQ(rows[i].reasons().size(), 1u) << i;
    }
    EXPECT_NE(rows[4].reasons()[0].find("«😀»"), std::string::npos) << rows[4].reasons()[0];
    EXPECT_NE(rows[5].reasons()[0].find("ilegible"), std::string::npos) << rows[5].reasons()[0];
}

// Two cards of one name would break the file's rule that names are unique: the first that can
// be imported is chosen at first, any other may be chosen instead, never two.
TEST(ImportPlan, CardsRepeatingANameAreOneChoiceWhoseFirstIsTheDefault)
{
    const contacts::Contact ana = storedContact({"Ana", "", "30", "01/01", "", "", "", ""});
    const auto rows =
        plan(card("DORA", "") + card("Dora", "BDAY:--01-01\r\n") + card("Eva") +
                 card("dora", "BDAY:--02-02\r\n") + card("ana") + card("ANA", "BDAY:--03-03\r\n"),
             {ana});
    ASSERT_EQ(rows.size(), 6u);
    // The card without a birthday cannot be imported: the next one is the first of the name.
    EXPECT_FALSE(rows[0].choosable());
    const std::vector<std::size_t> firsts{0, 1, 2, 1, 4, 4};
    const std::vector<ImportMark> marks{ImportMark::NoBirthday, ImportMark::New,
                                        ImportMark::New,        ImportMark::RepeatedInFile,
                                        ImportMark::NameStored, ImportMark::RepeatedInFile};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].firstOfName, firsts[i]) << i;
        EXPECT_EQ(rows[i].mark, marks[i]) << i;
    }
    EXPECT_TRUE(rows[3].choosable());
    EXPECT_FALSE(rows[3].chosenAtFirst());
    EXPECT_EQ(rows[3].reasons(), std::vector<std::string>{});
    EXPECT_EQ(rows[1].remarks(), rows[3].remarks());
    ASSERT_TRUE(rows[5].updated);
    EXPECT_EQ(rows[5].updated->line(), ana.line());

    // Chosen together, the first of a name wins; chosen alone, a later card is imported.
    const contacts::ContactBatch both = importBatch(rows, {1, 3, 4, 5}, kToday);
    ASSERT_EQ(both.additions.size(), 1u);
    EXPECT_EQ(both.additions[0].field(Role::Birthday), "01/01");
    ASSERT_EQ(both.replacements.size(), 1u);
    EXPECT_EQ(both.replacements[0].changed.field(Role::Birthday), "05/03");
    const contacts::ContactBatch later = importBatch(rows, {3}, kToday);
    ASSERT_EQ(later.additions.size(), 1u);
    EXPECT_EQ(later.additions[0].line(), cp1252("dora§§§02/02§§§§§"));
}

TEST(ImportPlan, ABirthdayThatIsNoDayGivesNoBirthdayAndTheRowSaysWhy)
{
    const auto rows =
        plan(card("Futura", "BDAY:2026-02-29\r\n") + card("Centenaria", "BDAY:1900-02-29\r\n") +
                 card("Abril", "BDAY:--04-31\r\n") + card("Vaga", "BDAY:hacia 1980\r\n"),
             {});
    ASSERT_EQ(rows.size(), 4u);
    for (const ImportRow& row : rows) {
        EXPECT_EQ(row.mark, ImportMark::NoBirthday) << row.result.name;
        EXPECT_EQ(row.result.birthday, "") << row.result.name;
        EXPECT_EQ(row.result.age, "") << row.result.name;
        EXPECT_FALSE(row.choosable()) << row.result.name;
    }
    EXPECT_EQ(rows[0].reasons(), (std::vector<std::string>{
                                     "Fecha Del Cumple: «2026-02-29» no es un día del calendario.",
                                     "No tiene fecha de cumpleaños, que es obligatoria."}));
    EXPECT_EQ(rows[1].problems, (std::vector<StorageProblem>{
                                    {Role::Birthday, StorageProblem::NoSuchDay, "1900-02-29"}}));
    EXPECT_EQ(rows[2].problems, (std::vector<StorageProblem>{
                                    {Role::Birthday, StorageProblem::NoSuchDay, "--04-31"}}));
    EXPECT_EQ(rows[3].reasons()[0],
              "Fecha Del Cumple: «hacia 1980» no es una fecha que Tortavela sepa leer.");
}

TEST(ImportPlan, AnUpdateKeepsTheStoredNameAndWhatTheCardLacks)
{
    const contacts::Contact ana =
        storedContact({"Ana", "Anita", "treinta", "01/01", "600", "Calle 1", "", "Prima"});
    const auto rows =
        plan(card("ANA", "BDAY:--03-05\r\nEMAIL:ana@example.com\r\nNOTE:Amiga\r\n") + card("ana"),
             {ana});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].result, (ContactValues{"Ana", "Anita", "treinta", "05/03", "600", "Calle 1",
                                             "ana@example.com", "Amiga"}));
    const contacts::ContactBatch batch = importBatch(rows, all(rows), kToday);
    ASSERT_EQ(batch.replacements.size(), 1u);
    EXPECT_TRUE(batch.additions.empty());
    EXPECT_EQ(batch.replacements[0].stored.line(), ana.line());
    EXPECT_EQ(batch.replacements[0].changed.line(),
              cp1252("Ana§Anita§treinta§05/03§600§Calle 1§ana@example.com§Amiga§"));
}

// The reminder advances an age on the contact's birthday unless its marker says that the age
// counts that birthday already. An age computed today from the year of birth does.
// An age from the year of birth counts every birthday up to today's: the reminder must count
// neither today's once more nor, in its catch-up of days it did not run, the last one before.
TEST(ImportPlan, AnAgeFromTheYearOfBirthCountsEveryBirthdayUpToToday)
{
    const auto rows =
        plan(card("Hoy", "BDAY:1990-12-08\r\nNICKNAME:Ñoño\r\n") +
                 card("Sin año", "BDAY:--12-08\r\n") + card("Mañana", "BDAY:1990-12-09\r\n"),
             {});
    EXPECT_EQ(rows[0].result.age, "36");
    EXPECT_EQ(rows[2].result.age, "35");
    const contacts::ContactBatch batch = importBatch(rows, all(rows), kToday);
    ASSERT_EQ(batch.additions.size(), 3u);
    using namespace std::chrono;
    EXPECT_EQ(batch.markers,
              (std::vector<contacts::MarkerFile>{
                  contacts::birthdayMarker(2025y / December / 8d, "Hoy", cp1252("Ñoño")),
                  contacts::birthdayMarker(kToday, "Hoy", cp1252("Ñoño")),
                  contacts::birthdayMarker(2025y / December / 9d, cp1252("Mañana"), "")}));

    // 29 February is celebrated on the 28th in a common year, by the age and by the reminder.
    const auto leap = planImport(
        importCards(readVCards(card("Bisiesto", "BDAY:2000-02-29\r\n")), 2027y / February / 28d),
        {}, {});
    EXPECT_EQ(leap[0].result.age, "27");
    EXPECT_EQ(importBatch(leap, {0}, 2027y / February / 28d).markers,
              (std::vector<contacts::MarkerFile>{
                  contacts::birthdayMarker(2026y / February / 28d, "Bisiesto", ""),
                  contacts::birthdayMarker(2027y / February / 28d, "Bisiesto", "")}));
}
