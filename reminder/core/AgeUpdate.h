#pragma once

#include "contacts/Rewrite.h"
#include "reminder/core/AgeDays.h"
#include "reminder/core/CalendarDate.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The age update of a day with birthdays: every contact whose name the day's list holds and
// whose birthday is today grows one year older, once per birthday, and every birthday is
// rewritten in its short form. In the same rewrite, the catch-up: every contact whose birthday
// fell on a day no reminder saw grows one year older for that birthday.
namespace reminder {

// A birthday the catch-up counted: it passed without a reminder, and the user is told.
struct CaughtUpBirthday {
    std::string name; // Windows-1252 bytes, as stored
    Date date;

    friend bool operator==(const CaughtUpBirthday&, const CaughtUpBirthday&) = default;
};

struct AgeUpdateResult {
    contacts::RewriteResult rewrite;
    std::size_t advanced = 0; // records whose stored age grew in this update
    // The birthdays caught up by this update, in the order of the file's lines: their markers
    // were made (an unknown age among them stays as it is).
    std::vector<CaughtUpBirthday> caughtUp;
    // Every age due today is stored one year older, by this update or an earlier one that day.
    // False when the file could not be rewritten or a birthday marker could not be made; the
    // next start tries again then.
    bool saved = false;
};

// Rewrites the contact file once for all the names (Windows-1252 bytes, exact comparison). For
// each line that splits into eight fields with a day and month in field 3:
// - when its name is listed, its own birthday falls on `today` (29/02 on 28/02 of a common
//   year) and its birthday marker for `today` does not exist yet, field 2 becomes its leading
//   number plus one and the marker is made. Two lines with the same name and alias share one
//   marker: the first is advanced, the other stays. An age without a leading number (empty,
//   "treinta", "?") is unknown and stays as it is; its marker is made all the same;
// - field 3 is written as plain numbers ("05/03" becomes "5/3");
// - the text after the eighth terminator is kept as it is: it may be a record whose line end
//   was lost.
// Any other line is carried over unchanged: one stray line must not stop every advance.
// The markers exist exactly when the ages they stand for are stored, also after a kill at any
// moment (see contacts::rewriteContactFileWithMarkers), so that no age is lost or grows twice.
// A marker that cannot be made leaves its age as it is. A missing contact file stays missing.
AgeUpdateResult advanceAges(const std::filesystem::path& programDir, Date today,
                            const std::vector<std::string>& names,
                            const contacts::RewriteHooks& hooks = {});

// The same with the catch-up: besides, every line whose own birthday fell after `catchUpAfter`
// and before `today` (see birthdayBetween), listed or not, and whose birthday marker for that
// day does not exist, is advanced once for it with that day's marker, in the same rewrite and
// by the same rules. Without listed names, a file whose ages nothing advances is not rewritten.
AgeUpdateResult updateAges(const std::filesystem::path& programDir, Date today,
                           const std::vector<std::string>& names, std::optional<Date> catchUpAfter,
                           const contacts::RewriteHooks& hooks = {});

// The update of one start, as `days` allows it: nothing at all when the clock stands before
// the remembered day; otherwise updateAges with the catch-up, and once every age it was due is
// saved, today is remembered as the day the ages were brought up to date. A start that fails
// (the lock held, a full disk) leaves the remembered day, so the next one catches up again.
AgeUpdateResult bringAgesUpToDate(const std::filesystem::path& programDir, Date today,
                                  const AgeDays& days, const std::vector<std::string>& names,
                                  const contacts::RewriteHooks& hooks = {});

} // namespace reminder
