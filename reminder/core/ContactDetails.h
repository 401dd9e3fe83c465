#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What the today window shows of a selected contact, read again from the contact file.
namespace reminder {

struct ContactDetails {
    std::string alias;
    std::string age; // the leading number of field 2: the age reached today
    std::string phone;
    std::string address;
    std::string email;
    std::string note;
};

// The last line whose field 0 equals `name` exactly wins. A line with that name but without all
// eight terminators is passed over. Nothing when no line has the name.
std::optional<ContactDetails> contactDetailsIn(std::string_view content, std::string_view name);

// Nothing as well when the contact file cannot be read.
std::optional<ContactDetails> lookUpContactDetails(const std::filesystem::path& programDir,
                                                   std::string_view name);

} // namespace reminder
