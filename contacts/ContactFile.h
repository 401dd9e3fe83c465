#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Where the contacts live: "data.tvl" in the program directory, beside both programs, with the
// temporary files of the rewrites and the lock that keeps two rewrites from interleaving.
namespace contacts {

inline constexpr std::string_view kContactFileName = "data.tvl";
// The removal writes its new content here, the other rewrites through kRewriteTempName.
inline constexpr std::string_view kRemovalTempName = "data.tvl2";
inline constexpr std::string_view kRewriteTempName = "data2.tvl";
inline constexpr std::string_view kRewriteLockName = "data.tvl.lock";

std::filesystem::path contactFilePath(const std::filesystem::path& programDir);

struct FileContent {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Failed;
    std::string bytes;
    std::string error; // why it failed, for the user

    bool ok() const { return status == Status::Read; }
};

// The whole file in memory. A directory or an unreadable file is Failed, not Missing.
FileContent readWholeFile(const std::filesystem::path& file);
FileContent readContactFile(const std::filesystem::path& programDir);

// Creates an empty contact file when there is none; an existing one is left alone.
bool createEmptyContactFile(const std::filesystem::path& programDir);

} // namespace contacts
