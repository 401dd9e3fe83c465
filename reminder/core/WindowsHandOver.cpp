#include "reminder/core/WindowsHandOver.h"

#include "platform/Programs.h"

#include <dlfcn.h>

namespace reminder {
namespace {

std::vector<AviselaText> textsOf(const std::vector<std::string>& names)
{
    std::vector<AviselaText> texts;
    texts.reserve(names.size());
    for (const auto& name : names)
        texts.push_back(AviselaText{name.data(), name.size()});
    return texts;
}

AviselaNames namesOf(const std::vector<AviselaText>& texts)
{
    return AviselaNames{texts.data(), texts.size()};
}

std::vector<std::string> stringsOf(const AviselaNames& names)
{
    std::vector<std::string> strings;
    strings.reserve(names.count);
    for (size_t i = 0; i < names.count; ++i)
        strings.emplace_back(names.items[i].bytes, names.items[i].size);
    return strings;
}

AviselaDate abiDate(Date date)
{
    return AviselaDate{yearOf(date), static_cast<unsigned>(monthOf(date)),
                       static_cast<unsigned>(dayOf(date))};
}

Date dateFrom(const AviselaDate& date)
{
    return Date{std::chrono::year{date.year}, std::chrono::month{date.month},
                std::chrono::day{date.day}};
}

} // namespace

WindowsRequest::WindowsRequest(const DueBirthdays& due, const std::filesystem::path& programDir,
                               Date today, int argc, char** argv, const AgeDays& days,
                               const std::vector<CaughtUpBirthday>& caughtUp)
    : m_programDir(programDir.string()), m_lists{textsOf(due.today), textsOf(due.inOneDay),
                                                 textsOf(due.inTwoDays), textsOf(due.inThreeDays)}
{
    m_request.abiVersion = AVISELA_WINDOWS_ABI_VERSION;
    m_request.argc = argc;
    m_request.argv = argv;
    m_request.programDir = m_programDir.c_str();
    m_request.year = yearOf(today);
    m_request.month = static_cast<unsigned>(monthOf(today));
    m_request.day = static_cast<unsigned>(dayOf(today));
    m_request.today = namesOf(m_lists[0]);
    m_request.inOneDay = namesOf(m_lists[1]);
    m_request.inTwoDays = namesOf(m_lists[2]);
    m_request.inThreeDays = namesOf(m_lists[3]);
    m_request.laterStarts = -1;
    m_request.agesMayChange = days.agesMayChange ? 1 : 0;
    m_request.catchUpAfter = days.catchUpAfter ? abiDate(*days.catchUpAfter) : AviselaDate{};
    for (const CaughtUpBirthday& birthday : caughtUp)
        m_caughtUp.push_back(AviselaCaughtUp{
            AviselaText{birthday.name.data(), birthday.name.size()}, abiDate(birthday.date)});
    m_request.caughtUp = m_caughtUp.data();
    m_request.caughtUpCount = m_caughtUp.size();
}

DueBirthdays dueBirthdaysOf(const AviselaWindowsRequest& request)
{
    return DueBirthdays{stringsOf(request.today), stringsOf(request.inOneDay),
                        stringsOf(request.inTwoDays), stringsOf(request.inThreeDays)};
}

Date dateOf(const AviselaWindowsRequest& request)
{
    return Date{std::chrono::year{request.year}, std::chrono::month{request.month},
                std::chrono::day{request.day}};
}

AgeDays ageDaysOf(const AviselaWindowsRequest& request)
{
    AgeDays days;
    days.agesMayChange = request.agesMayChange != 0;
    if (request.catchUpAfter.year != 0)
        days.catchUpAfter = dateFrom(request.catchUpAfter);
    return days;
}

std::vector<CaughtUpBirthday> caughtUpOf(const AviselaWindowsRequest& request)
{
    std::vector<CaughtUpBirthday> caughtUp;
    for (size_t i = 0; i < request.caughtUpCount; ++i) {
        const AviselaCaughtUp& birthday = request.caughtUp[i];
        caughtUp.push_back(CaughtUpBirthday{std::string(birthday.name.bytes, birthday.name.size),
                                            dateFrom(birthday.date)});
    }
    return caughtUp;
}

ShownWindows showWindows(const std::filesystem::path& programDir, AviselaWindowsRequest& request)
{
    ShownWindows shown;
    // Never unloaded: Qt cannot be unloaded while the process runs.
    void* library =
        ::dlopen((programDir / platform::kReminderWindowsLibrary).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        shown.error = ::dlerror();
        return shown;
    }
    const auto show =
        reinterpret_cast<AviselaShowWindowsFunction>(::dlsym(library, kShowWindowsSymbol));
    if (!show) {
        shown.error = ::dlerror();
        return shown;
    }
    shown.loaded = true;
    shown.exitCode = show(&request);
    return shown;
}

} // namespace reminder
