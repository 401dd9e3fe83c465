#pragma once

#include "system/FileDescriptor.h"

#include <cstdint>
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

// The largest contact file either program reads whole or writes: 64 MiB, about 900,000 contacts
// of the usual length. A change holds the old and the new content in memory at once, so a bound
// on the file is a bound on the memory; a larger file is refused, never cut short.
inline constexpr std::uint64_t kMaxContactFileBytes = std::uint64_t{64} << 20;

struct FileContent {
    enum class Status { Read, Missing, Failed };
    Status status = Status::Failed;
    std::string bytes;
    std::string error;     // why it failed, for the user
    bool tooLarge = false; // Failed because the file is over kMaxContactFileBytes

    bool ok() const { return status == Status::Read; }
};

// The whole file in memory. Only a regular file is read: a directory, a FIFO (which is never
// waited on), a device or a socket is Failed, not Missing, and so is a file over
// kMaxContactFileBytes. `error` then says what is wrong, in Spanish.
FileContent readWholeFile(const std::filesystem::path& file);

// The first step of readWholeFile, for readers that stream: a descriptor open for reading on a
// regular file and the file's size; or -1, with the status and the reason.
struct OpenedFile {
    sys::FileDescriptor fd{-1};
    std::uint64_t size = 0;
    FileContent::Status status = FileContent::Status::Failed;
    std::string error;
};
OpenedFile openRegularFile(const std::filesystem::path& file);
FileContent readContactFile(const std::filesystem::path& programDir);

// Creates an empty contact file when there is none; an existing one is left alone.
bool createEmptyContactFile(const std::filesystem::path& programDir);

} // namespace contacts
