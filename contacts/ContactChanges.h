#pragma once

#include "Rewrite.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The manager's three changes to the contact file. Each keeps every line it does not touch byte
// for byte in its order (only its line end becomes CR LF) and goes through rewriteContactFile.
namespace contacts {

// The stored lines of the contact selected in the manager: every line equal to the line rebuilt
// from the list row and its note. When the stored line no longer equals it (the reminder advanced
// the age, or the line carries text after its eighth terminator), the lines whose name is the
// contact's name, exactly, stand for it instead: the name is the record's key.
struct SelectedContact {
    std::string rebuiltLine;
    std::string name;
};

// Marks the lines that stand for the contact; all false when none does.
std::vector<bool> linesOfContact(const std::vector<std::string_view>& lines,
                                 const SelectedContact& contact);

struct ChangeResult {
    RewriteResult rewrite;
    std::size_t droppedLines = 0;

    bool ok() const { return rewrite.written(); }
};

// Appends the record as the last line, after every stored line in its order. A contact file that
// vanished while the manager ran is created anew holding just this line.
ChangeResult appendRecord(const std::filesystem::path& programDir, std::string_view recordLine,
                          const RewriteHooks& hooks = {});

// Leaves out the lines of the contact, through "data.tvl2". A missing file stays missing.
ChangeResult removeContact(const std::filesystem::path& programDir, const SelectedContact& contact,
                           const RewriteHooks& hooks = {});

// Leaves out the lines of the contact and writes the changed record as the last line.
ChangeResult replaceContact(const std::filesystem::path& programDir, const SelectedContact& contact,
                            std::string_view recordLine, const RewriteHooks& hooks = {});

} // namespace contacts
