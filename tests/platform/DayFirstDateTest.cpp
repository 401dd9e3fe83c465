#include "platform/gui/DayFirstDate.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* locale;
    const char* fifthOfMarch;
};

class DayFirstDate : public testing::TestWithParam<Case> {};

// Beside birthdays stored day first, 3/5 must never mean 5 March.
TEST_P(DayFirstDate, ShowsTheDayBeforeTheMonth)
{
    const QLocale system(QString::fromLatin1(GetParam().locale));
    EXPECT_EQ(platform::dayFirstShortDate(QDate(2026, 3, 5), system).toStdString(),
              GetParam().fifthOfMarch);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, DayFirstDate,
    testing::Values(Case{"es_ES", "5/3/26"},     // the system's own format
                    Case{"de_DE", "05.03.26"},   // day first in numbers: kept
                    Case{"en_GB", "05/03/2026"}, // the same
                    Case{"en_US", "5/3/26"},     // month first: Spanish instead
                    Case{"C", "5/3/26"},         // an English month name: Spanish instead
                    Case{"sv_SE", "5/3/26"},     // year first: Spanish instead
                    Case{"zh_CN", "5/3/26"}),    // year first with signs: Spanish instead
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.locale); });

} // namespace
