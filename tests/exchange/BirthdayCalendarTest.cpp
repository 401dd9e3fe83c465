#include "exchange/BirthdayCalendar.h"

#include "tests/exchange/FoldedLines.h"

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>

using namespace exchange;
using namespace std::chrono;

namespace {

struct Event {
    std::string uid;
    std::string summary;
    icaltimetype start;
    icalrecurrencetype rule;
};

// The events as libical's own parser reads them back, by summary. Without a METHOD libical's
// restriction check looks at the calendar's own properties only, so the properties RFC 5545
// requires of every event are counted here.
std::map<std::string, Event> parseEvents(const std::string& text)
{
    std::map<std::string, Event> events;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    if (!calendar)
        return events;
    EXPECT_EQ(icalrestriction_check(calendar), 1);
    EXPECT_EQ(icalcomponent_count_errors(calendar), 0);
    EXPECT_EQ(icalcomponent_count_properties(calendar, ICAL_VERSION_PROPERTY), 1);
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         event; event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        for (icalproperty_kind once :
             {ICAL_UID_PROPERTY, ICAL_DTSTAMP_PROPERTY, ICAL_DTSTART_PROPERTY, ICAL_RRULE_PROPERTY})
            EXPECT_EQ(icalcomponent_count_properties(event, once), 1);
        EXPECT_TRUE(icalcomponent_get_dtstart(event).is_date);
        EXPECT_EQ(icaldurationtype_as_int(icalcomponent_get_duration(event)), 24 * 60 * 60);
        const icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
        events[icalcomponent_get_summary(event)] = {
            icalcomponent_get_uid(event), icalcomponent_get_summary(event),
            icalcomponent_get_dtstart(event), icalproperty_get_rrule(rrule)};
    }
    icalcomponent_free(calendar);
    return events;
}

// The month and day of the event's occurrence in `year`.
std::pair<int, int> occurrenceIn(const Event& event, int year)
{
    icalrecur_iterator* it = icalrecur_iterator_new(event.rule, event.start);
    for (icaltimetype next = icalrecur_iterator_next(it); !icaltime_is_null_time(next);
         next = icalrecur_iterator_next(it)) {
        if (next.year == year) {
            icalrecur_iterator_free(it);
            return {next.month, next.day};
        }
    }
    icalrecur_iterator_free(it);
    return {0, 0};
}

const std::vector<ContactValues> kContacts = {
    {"Pérez, Ana; la prima de Ñuñoa, que se llama así desde que nació en Ñuñoa", "", "30", "05/03",
     "", "", "", ""},
    {"Leap", "", "", "29/02", "", "", "", ""},
    {"Imposible", "", "", "31/04", "", "", "", ""},
    {"Corto", "", "", "5/3", "", "", "", ""},
};

} // namespace

TEST(BirthdayCalendar, OneYearlyAllDayEventPerBirthdayValidForLibical)
{
    const BirthdayCalendar calendar =
        writeBirthdayCalendar(kContacts, sys_days{2026y / December / 8d});
    EXPECT_EQ(calendar.leftOut, std::vector<std::string>{"Imposible"});
    const auto events = parseEvents(calendar.text);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_GE(expectFoldedLines(calendar.text), 1);
    const Event& ana = events.at("Cumpleaños de " + kContacts[0].name);
    EXPECT_EQ(occurrenceIn(ana, 2027), std::make_pair(3, 5));
    EXPECT_EQ(occurrenceIn(events.at("Cumpleaños de Corto"), 2031), std::make_pair(3, 5));
    const Event& leap = events.at("Cumpleaños de Leap");
    EXPECT_EQ(occurrenceIn(leap, 2027), std::make_pair(2, 28));
    EXPECT_EQ(occurrenceIn(leap, 2028), std::make_pair(2, 29));
    EXPECT_EQ(occurrenceIn(leap, 2100), std::make_pair(2, 28));
}

TEST(BirthdayCalendar, ControlCharactersAStoredNameHoldsAreWrittenAsBlanks)
{
    const BirthdayCalendar calendar =
        writeBirthdayCalendar(std::vector<ContactValues>{{"Ana\x01\x1B\x7FP\xC3\xA9rez", "", "",
                                                          "05/03", "", "", "", ""}},
                              sys_days{2026y / December / 8d});
    for (size_t i = 0; i < calendar.text.size(); ++i) {
        const auto c = static_cast<unsigned char>(calendar.text[i]);
        const bool lineEnd = c == '\r' || (c == '\n' && i > 0 && calendar.text[i - 1] == '\r');
        EXPECT_TRUE(lineEnd || (c >= 0x20 && c != 0x7F)) << "byte " << i << ": " << int(c);
    }
    const auto events = parseEvents(calendar.text);
    EXPECT_EQ(events.size(), 1u);
    EXPECT_TRUE(events.contains("Cumplea\xC3\xB1os de Ana   P\xC3\xA9rez"));
}

TEST(BirthdayCalendar, ExportingAgainKeepsEveryUidSoCalendarsUpdate)
{
    auto uids = [](const std::vector<ContactValues>& contacts, sys_seconds now) {
        std::map<std::string, std::string> bySummary;
        for (const auto& [summary, event] : parseEvents(writeBirthdayCalendar(contacts, now).text))
            bySummary[summary] = event.uid;
        return bySummary;
    };
    const auto first = uids(kContacts, sys_days{2026y / December / 8d});
    std::vector<ContactValues> later = {kContacts[3], kContacts[1], kContacts[0]};
    later[1].birthday = "28/02"; // a birthday changed: the same event, updated
    const auto second = uids(later, sys_days{2027y / May / 1d} + 10h);
    EXPECT_EQ(first, second);
    EXPECT_NE(first.at("Cumpleaños de Leap"), first.at("Cumpleaños de Corto"));
}
