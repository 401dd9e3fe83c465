#pragma once

#include "BirthdayMarkers.h"
#include "CalendarDate.h"
#include "Rewrite.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// The age update of a day with birthdays: every contact whose name the day's list holds grows
// one year older, once per birthday, and every birthday is rewritten in its short form.
namespace reminder {

struct AgeUpdateHooks {
    contacts::RewriteHooks rewrite;
    MarkerCreationHook markerCreation;
};

struct AgeUpdateResult {
    contacts::RewriteResult rewrite;
    std::size_t advanced = 0; // records whose stored age grew
};

// Rewrites the contact file once for all the names (Windows-1252 bytes, exact comparison). For
// each line that splits into eight fields with a day and month in field 3:
// - when its name is listed and its birthday marker for `today` can be created, field 2 becomes
//   its leading number plus one; a marker already there, or one that cannot be made, leaves
//   the age as it is, so that no age ever grows twice on a day;
// - field 3 is written as plain numbers ("05/03" becomes "5/3"), text after the eighth
//   terminator is dropped.
// Any other line is carried over unchanged: one stray line must not stop every advance.
// When the new content cannot be stored, the markers made for it are removed again, so that
// no marker claims an advance the file does not hold. A missing contact file is left missing.
AgeUpdateResult advanceAges(const std::filesystem::path& programDir, Date today,
                            const std::vector<std::string>& names,
                            const AgeUpdateHooks& hooks = {});

} // namespace reminder
