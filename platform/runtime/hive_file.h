// One hive on disk: a versioned text file, read defensively and replaced atomically.
//
// Format (UTF-16 names escaped to printable ASCII):
//   comrt-registry 1
//   next <next key id>
//   key <id> <path>            path "\" is the hive's root; keys come parents first
//   value <name> <type> <hex data or ->
//   end <FNV-1a 64 of every byte before this line, 16 hex digits>
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "registry_key.h"

namespace comrt {

// Identifies one version of a file, so an unchanged file is not parsed again.
struct FileStamp {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = -1;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    long long changedSeconds = 0;
    long long changedNanoseconds = 0;

    bool operator==(const FileStamp& other) const;
};

class HiveFile {
  public:
    static std::string Serialize(const RegistryHive& hive);
    // ERROR_SUCCESS, or ERROR_REGISTRY_CORRUPT for any damage (ERROR_BADDB for an unknown version).
    static LONG Parse(std::string_view text, std::unique_ptr<RegistryHive>& hive);

    // Reads path. A missing file is an empty hive with a default stamp. When the file still
    // matches known, unchanged is set and hive is left alone.
    static LONG Read(const std::string& path, const FileStamp* known, FileStamp& stamp,
                     std::unique_ptr<RegistryHive>& hive, bool& unchanged);

    // Writes a new file beside path, flushes it, renames it over path and flushes the folder.
    static LONG WriteAtomically(const std::string& path, const std::string& contents,
                                FileStamp& stamp);
};

}  // namespace comrt
