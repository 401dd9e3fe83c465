#include "exchange/BirthdayCalendar.h"

#include "contacts/Birthday.h"
#include "exchange/ExportedText.h"
#include "exchange/StableUid.h"

#include <libical/ical.h>
#include <memory>

namespace exchange {
namespace {

constexpr int kFirstYear = 2000;

struct ComponentDeleter {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

icaltimetype dateOf(int year, int month, int day)
{
    icaltimetype date = icaltime_null_date();
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

icalrecurrencetype yearlyRule(contacts::DayMonth birthday)
{
    icalrecurrencetype rule;
    icalrecurrencetype_clear(&rule);
    rule.freq = ICAL_YEARLY_RECURRENCE;
    if (birthday.day == 29 && birthday.month == 2) {
        rule.by_month[0] = 2;
        rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
        rule.by_month_day[0] = -1;
        rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
    }
    return rule;
}

icalcomponent* birthdayEvent(const ContactValues& contact, contacts::DayMonth birthday,
                             icaltimetype stamp)
{
    const icaltimetype start = dateOf(kFirstYear, birthday.month, birthday.day);
    icaltimetype end = start;
    icaltime_adjust(&end, 1, 0, 0, 0);
    const std::string uid = birthdayEventUid(contact.name);
    const std::string summary = "Cumpleaños de " + exportedText(contact.name);
    return icalcomponent_vanew(
        ICAL_VEVENT_COMPONENT, icalproperty_new_uid(uid.c_str()), icalproperty_new_dtstamp(stamp),
        icalproperty_new_dtstart(start), icalproperty_new_dtend(end),
        icalproperty_new_rrule(yearlyRule(birthday)), icalproperty_new_summary(summary.c_str()),
        icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT), static_cast<void*>(nullptr));
}

// Midnight of the all-day event less 15 hours: 9:00 the day before.
icalcomponent* dayBeforeAlarm(const ContactValues& contact)
{
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_null_duration();
    trigger.duration.is_neg = 1;
    trigger.duration.hours = 15;
    const std::string description = "Mañana cumple " + exportedText(contact.name);
    return icalcomponent_vanew(ICAL_VALARM_COMPONENT, icalproperty_new_action(ICAL_ACTION_DISPLAY),
                               icalproperty_new_trigger(trigger),
                               icalproperty_new_description(description.c_str()),
                               static_cast<void*>(nullptr));
}

Component calendarRoot()
{
    return Component(icalcomponent_vanew(ICAL_VCALENDAR_COMPONENT, icalproperty_new_version("2.0"),
                                         icalproperty_new_prodid("-//Tortavela//Agendela//ES"),
                                         icalproperty_new_calscale("GREGORIAN"),
                                         static_cast<void*>(nullptr)));
}

std::string textOf(icalcomponent* root)
{
    char* text = icalcomponent_as_ical_string_r(root);
    std::string result = text;
    icalmemory_free_buffer(text);
    return result;
}

icaltimetype stampOf(std::chrono::sys_seconds now)
{
    return icaltime_from_timet_with_zone(static_cast<time_t>(now.time_since_epoch().count()), 0,
                                         icaltimezone_get_utc_timezone());
}

} // namespace

std::string birthdayEventUid(std::string_view name)
{
    return stableUid(name, "cumple");
}

std::optional<std::string> writeBirthdayEvent(const ContactValues& contact,
                                              std::chrono::sys_seconds now)
{
    const auto birthday = contacts::parseBirthday(contact.birthday);
    if (!birthday || !contacts::isCalendarDay(*birthday))
        return std::nullopt;
    Component root = calendarRoot();
    icalcomponent* event = birthdayEvent(contact, *birthday, stampOf(now));
    icalcomponent_add_component(event, dayBeforeAlarm(contact));
    icalcomponent_add_component(root.get(), event);
    return textOf(root.get());
}

BirthdayCalendar writeBirthdayCalendar(std::span<const ContactValues> contacts,
                                       std::chrono::sys_seconds now)
{
    BirthdayCalendar calendar;
    const icaltimetype stamp = stampOf(now);
    Component root = calendarRoot();
    // The name that calendars give a subscribed or imported calendar.
    icalproperty* name = icalproperty_new_x("Cumpleaños (Tortavela)");
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(root.get(), name);

    for (const ContactValues& contact : contacts) {
        const auto birthday = contacts::parseBirthday(contact.birthday);
        if (!birthday || !contacts::isCalendarDay(*birthday)) {
            calendar.leftOut.push_back(contact.name);
            continue;
        }
        icalcomponent_add_component(root.get(), birthdayEvent(contact, *birthday, stamp));
    }
    calendar.text = textOf(root.get());
    return calendar;
}

} // namespace exchange
