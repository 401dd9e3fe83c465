#pragma once

#include "contacts/Rewrite.h"
#include "reminder/core/CalendarDate.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// The age update of a day with birthdays: every contact whose name the day's list holds and
// whose birthday is today grows one year older, once per birthday, and every birthday is
// rewritten in its short form.
namespace reminder {

struct AgeUpdateResult {
    contacts::RewriteResult rewrite;
    std::size_t advanced = 0; // records whose stored age grew in this update
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
//   marker: the first is advanced, the other stays;
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

} // namespace reminder
