#pragma once

#include <stddef.h>

// The hand-over from Avisela, which links no Qt, to its windows library, which it loads only on a
// day with names to show. Plain C types, so that the two sides need to agree on nothing else.
#ifdef __cplusplus
extern "C" {
#endif

// Raised whenever the structures below change, so that a stale library refuses the call.
enum { AVISELA_WINDOWS_ABI_VERSION = 3 };

// Stored text: Windows-1252 bytes, not terminated (a stored name may hold any byte).
struct AviselaText {
    const char* bytes;
    size_t size;
};

struct AviselaNames {
    const AviselaText* items;
    size_t count;
};

struct AviselaDate {
    int year; // 0 for no date
    unsigned month;
    unsigned day;
};

// A birthday that passed without a reminder, caught up before the windows were shown.
struct AviselaCaughtUp {
    AviselaText name;
    struct AviselaDate date;
};

struct AviselaWindowsRequest {
    int abiVersion;
    int argc;
    char** argv;
    const char* programDir;
    // The date of the scan: the windows show it and the age update marks it.
    int year;
    unsigned month;
    unsigned day;
    AviselaNames today;
    AviselaNames inOneDay;
    AviselaNames inTwoDays;
    AviselaNames inThreeDays;
    // Called once, when every window shown has been painted; a nonzero answer ends the program
    // there. Avisela passes none; the benchmark times the windows with it.
    int (*onPainted)(void* context);
    void* onPaintedContext;
    // A listening socket on which later starts of Avisela call to bring the windows to the front
    // (see LaterStarts.h); the library takes it over. -1 for none.
    int laterStarts;
    // What the today window's age update may do (reminder/core/AgeDays.h): 0 when the clock
    // stands before the day the ages were last brought up to date, and the day after which the
    // birthdays are caught up with today's (year 0: no catch-up).
    int agesMayChange;
    struct AviselaDate catchUpAfter;
    // The birthdays Avisela caught up itself, when no today window was due: the windows tell
    // them.
    const struct AviselaCaughtUp* caughtUp;
    size_t caughtUpCount;
};

// Shows the windows with the names and runs them until the program ends; gives the exit code.
int avisela_show_windows(const AviselaWindowsRequest* request);
typedef int (*AviselaShowWindowsFunction)(const AviselaWindowsRequest* request);

#ifdef __cplusplus
}
#endif
