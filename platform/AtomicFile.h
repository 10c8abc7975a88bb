#pragma once
// Whole-file reads and crash-safe whole-file replacement.
//
// WriteFileAtomically never leaves a half-written target: the bytes go to a
// temporary file in the same folder (so the final rename stays on one file
// system), which is flushed to disk and then renamed over the target. Any
// failure removes the temporary file and leaves the old target untouched.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace lumora {

// Upper bound for text files read whole (settings files are a few KiB).
inline constexpr std::size_t kMaxWholeFileBytes = 16u * 1024u * 1024u;

// Reads the whole file into `out`. False when it does not open, cannot be
// read, or is larger than `limit` bytes.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out,
                   std::size_t limit = kMaxWholeFileBytes);

// Reads at most `count` bytes from the start of the file. False when the
// file does not open; `out` then is empty. Fewer bytes are returned for a
// shorter file.
bool ReadFileHead(const std::filesystem::path& path, std::size_t count, std::string& out);

// True when the file exists and may be written: it opens for writing and it
// is not marked read-only (no write permission bit at all). The mode check
// makes a read-only file refuse writes even for the super-user, as a FAT
// read-only attribute does on the camera's own system.
bool IsFileWritable(const std::filesystem::path& path);

// True when the file exists and opens for reading and writing (the same
// read-only rule as IsFileWritable).
bool OpenableForReadWrite(const std::filesystem::path& path);

// Replaces (or creates) `path` with `bytes` through a temporary file in the
// same folder, fsync and rename. An existing target keeps its permission
// bits. On failure returns false, sets `error` when given, and the old file
// (if any) is unchanged.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string* error = nullptr);

// Points at which a test may make WriteFileAtomically fail.
enum class AtomicWriteStage {
  kCreateTemp,  // creating the temporary file
  kWrite,       // after half of the bytes were written (a full card)
  kSync,        // flushing the temporary file
  kRename,      // replacing the target
};

// Test seam: when set, called at each stage; returning true makes that stage
// fail as if the system had refused it. Pass an empty function to clear.
void SetAtomicWriteFaultForTesting(std::function<bool(AtomicWriteStage)> fault);

}  // namespace lumora
