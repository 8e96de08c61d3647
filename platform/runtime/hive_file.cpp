// Reading, writing and checking hive files.
#include "hive_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <set>
#include <vector>

#include "wide_text.h"

namespace comrt {

namespace {

constexpr std::string_view kMagic = "comrt-registry";
constexpr int kFormatVersion = 1;
// Larger files are treated as damage rather than read into memory.
constexpr long long kMaxFileSize = 64LL * 1024 * 1024;

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

void AppendHex(std::string& out, std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.push_back(kDigits[(value >> shift) & 0xF]);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Printable ASCII stays as is except the escape and separator characters; the empty name is "%".
void AppendEscaped(std::string& out, std::u16string_view text) {
    if (text.empty()) {
        out.push_back('%');
        return;
    }
    for (char16_t c : text) {
        if (c > 0x20 && c < 0x7F && c != '%' && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            AppendHex(out, c, 4);
        }
    }
}

bool ParseEscaped(std::string_view token, std::u16string& text) {
    text.clear();
    if (token == "%") return true;
    if (token.empty()) return false;
    for (std::size_t i = 0; i < token.size(); ++i) {
        const char c = token[i];
        if (c == '%') {
            if (token.size() - i < 5) return false;
            unsigned value = 0;
            for (std::size_t k = 1; k <= 4; ++k) {
                const int digit = HexDigit(token[i + k]);
                if (digit < 0) return false;
                value = (value << 4) | static_cast<unsigned>(digit);
            }
            text.push_back(static_cast<char16_t>(value));
            i += 4;
        } else if (c > 0x20 && c < 0x7F && c != '\\') {
            text.push_back(static_cast<char16_t>(c));
        } else {
            return false;
        }
    }
    return true;
}

bool ParseUnsigned(std::string_view token, std::uint64_t limit, std::uint64_t& value) {
    if (token.empty() || token.size() > 20) return false;
    value = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return false;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (limit - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

bool ParseData(std::string_view token, std::vector<BYTE>& data) {
    data.clear();
    if (token == "-") return true;
    if (token.empty() || token.size() % 2 != 0) return false;
    data.reserve(token.size() / 2);
    for (std::size_t i = 0; i < token.size(); i += 2) {
        const int high = HexDigit(token[i]);
        const int low = HexDigit(token[i + 1]);
        if (high < 0 || low < 0) return false;
        data.push_back(static_cast<BYTE>(high * 16 + low));
    }
    return true;
}

std::vector<std::string_view> SplitTokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t space = line.find(' ', start);
        const std::size_t end = space == std::string_view::npos ? line.size() : space;
        tokens.push_back(line.substr(start, end - start));
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    return tokens;
}

void SerializeKey(const RegistryKey& key, const std::string& path, std::string& out) {
    out += "key ";
    out += std::to_string(key.id);
    out.push_back(' ');
    out += path.empty() ? "\\" : path;
    out.push_back('\n');
    for (const auto& value : key.values) {
        out += "value ";
        AppendEscaped(out, value.name);
        out.push_back(' ');
        out += std::to_string(value.type);
        out.push_back(' ');
        if (value.data.empty()) out.push_back('-');
        for (BYTE b : value.data) AppendHex(out, b, 2);
        out.push_back('\n');
    }
    for (const auto& [folded, child] : key.children) {
        std::string childPath = path;
        childPath.push_back('\\');
        AppendEscaped(childPath, child->name);
        SerializeKey(*child, childPath, out);
    }
}

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedSeconds = info.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = info.st_mtim.tv_nsec;
    stamp.changedSeconds = info.st_ctim.tv_sec;
    stamp.changedNanoseconds = info.st_ctim.tv_nsec;
    return stamp;
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::atomic<unsigned> temporaryCounter{0};

}  // namespace

bool FileStamp::operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modifiedSeconds == other.modifiedSeconds &&
           modifiedNanoseconds == other.modifiedNanoseconds &&
           changedSeconds == other.changedSeconds && changedNanoseconds == other.changedNanoseconds;
}

std::string HiveFile::Serialize(const RegistryHive& hive) {
    std::string out;
    out += kMagic;
    out.push_back(' ');
    out += std::to_string(kFormatVersion);
    out += "\nnext ";
    out += std::to_string(hive.nextId);
    out.push_back('\n');
    SerializeKey(hive.root, std::string(), out);
    const std::uint64_t hash = Fnv1a(out);
    out += "end ";
    AppendHex(out, hash, 16);
    out.push_back('\n');
    return out;
}

LONG HiveFile::Parse(std::string_view text, std::unique_ptr<RegistryHive>& hive) {
    hive.reset();
    // The checksum line comes last and covers everything before it.
    if (text.empty() || text.back() != '\n') return ERROR_REGISTRY_CORRUPT;
    const std::size_t lastLineStart = text.rfind('\n', text.size() - 2);
    const std::size_t endStart = lastLineStart == std::string_view::npos ? 0 : lastLineStart + 1;
    const std::string_view endLine = text.substr(endStart, text.size() - 1 - endStart);
    const std::string_view body = text.substr(0, endStart);
    {
        // A file of another format version is reported as such, whatever else it holds.
        const std::size_t firstEnd = text.find('\n');
        const auto header = SplitTokens(text.substr(0, firstEnd));
        if (header.size() == 2 && header[0] == kMagic &&
            header[1] != std::to_string(kFormatVersion)) {
            return ERROR_BADDB;
        }
        const auto endTokens = SplitTokens(endLine);
        if (endTokens.size() != 2 || endTokens[0] != "end" || endTokens[1].size() != 16) {
            return ERROR_REGISTRY_CORRUPT;
        }
        std::uint64_t stored = 0;
        for (char c : endTokens[1]) {
            const int digit = HexDigit(c);
            if (digit < 0) return ERROR_REGISTRY_CORRUPT;
            stored = (stored << 4) | static_cast<std::uint64_t>(digit);
        }
        if (stored != Fnv1a(body)) return ERROR_REGISTRY_CORRUPT;
    }

    auto result = std::make_unique<RegistryHive>();
    std::set<std::uint64_t> ids;
    RegistryKey* current = nullptr;
    std::size_t lineNumber = 0;
    std::size_t position = 0;
    while (position < body.size()) {
        const std::size_t newline = body.find('\n', position);
        if (newline == std::string_view::npos) return ERROR_REGISTRY_CORRUPT;
        const std::string_view line = body.substr(position, newline - position);
        position = newline + 1;
        const auto tokens = SplitTokens(line);
        ++lineNumber;
        if (lineNumber == 1) {
            if (tokens.size() != 2 || tokens[0] != kMagic) return ERROR_REGISTRY_CORRUPT;
            if (tokens[1] != std::to_string(kFormatVersion)) return ERROR_BADDB;
            continue;
        }
        if (lineNumber == 2) {
            std::uint64_t next = 0;
            if (tokens.size() != 2 || tokens[0] != "next" ||
                !ParseUnsigned(tokens[1], UINT64_MAX / 2, next) || next <= RegistryHive::kRootId) {
                return ERROR_REGISTRY_CORRUPT;
            }
            result->nextId = next;
            continue;
        }
        if (tokens.size() == 3 && tokens[0] == "key") {
            std::uint64_t id = 0;
            if (!ParseUnsigned(tokens[1], UINT64_MAX, id) || id >= result->nextId ||
                !ids.insert(id).second) {
                return ERROR_REGISTRY_CORRUPT;
            }
            const std::string_view path = tokens[2];
            if (path.empty() || path[0] != '\\') return ERROR_REGISTRY_CORRUPT;
            if (path == "\\") {
                if (lineNumber != 3 || id != RegistryHive::kRootId) return ERROR_REGISTRY_CORRUPT;
                current = &result->root;
                continue;
            }
            if (current == nullptr) return ERROR_REGISTRY_CORRUPT;
            RegistryKey* parent = &result->root;
            std::size_t start = 1;
            std::size_t depth = 0;
            while (true) {
                if (++depth > RegistryHive::kMaxDepth) return ERROR_REGISTRY_CORRUPT;
                const std::size_t slash = path.find('\\', start);
                const std::string_view component =
                    path.substr(start, slash == std::string_view::npos ? std::string_view::npos
                                                                       : slash - start);
                std::u16string name;
                if (!ParseEscaped(component, name) || name.empty() || name.size() > 255) {
                    return ERROR_REGISTRY_CORRUPT;
                }
                if (slash == std::string_view::npos) {
                    const std::u16string folded = FoldAscii(name);
                    if (parent->children.count(folded) != 0) return ERROR_REGISTRY_CORRUPT;
                    auto key = std::make_unique<RegistryKey>();
                    key->name = std::move(name);
                    key->id = id;
                    current = key.get();
                    parent->children.emplace(folded, std::move(key));
                    break;
                }
                parent = parent->FindChild(name);
                if (parent == nullptr) return ERROR_REGISTRY_CORRUPT;
                start = slash + 1;
            }
            continue;
        }
        if (tokens.size() == 4 && tokens[0] == "value" && current != nullptr) {
            RegistryValue value;
            std::uint64_t type = 0;
            if (!ParseEscaped(tokens[1], value.name) ||
                !ParseUnsigned(tokens[2], 0xFFFFFFFFu, type) || !ParseData(tokens[3], value.data) ||
                current->FindValue(value.name) != nullptr) {
                return ERROR_REGISTRY_CORRUPT;
            }
            value.type = static_cast<DWORD>(type);
            current->values.push_back(std::move(value));
            continue;
        }
        return ERROR_REGISTRY_CORRUPT;
    }
    if (lineNumber < 3 || current == nullptr) return ERROR_REGISTRY_CORRUPT;
    hive = std::move(result);
    return ERROR_SUCCESS;
}

LONG HiveFile::Read(const std::string& path, const FileStamp* known, FileStamp& stamp,
                    std::unique_ptr<RegistryHive>& hive, bool& unchanged) {
    unchanged = false;
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT) {
            stamp = FileStamp();
            if (known != nullptr && *known == stamp) {
                unchanged = true;
                return ERROR_SUCCESS;
            }
            hive = std::make_unique<RegistryHive>();
            return ERROR_SUCCESS;
        }
        return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_CANTREAD;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) return ERROR_CANTREAD;
    if (!S_ISREG(info.st_mode)) return ERROR_REGISTRY_CORRUPT;
    stamp = StampOf(info);
    if (known != nullptr && *known == stamp) {
        unchanged = true;
        return ERROR_SUCCESS;
    }
    if (info.st_size > kMaxFileSize) return ERROR_REGISTRY_CORRUPT;
    std::string contents;
    contents.resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (filled < contents.size()) {
        const ssize_t got = ::read(file.Get(), contents.data() + filled, contents.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ERROR_CANTREAD;
        }
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    contents.resize(filled);
    return Parse(contents, hive);
}

LONG HiveFile::WriteAtomically(const std::string& path, const std::string& contents,
                               FileStamp& stamp) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string temporary = path + ".tmp." + std::to_string(::getpid()) + "." +
                                  std::to_string(temporaryCounter.fetch_add(1));
    {
        FileDescriptor file(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (file.Get() < 0) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_CANTWRITE;
        if (!WriteAll(file.Get(), contents) || ::fsync(file.Get()) != 0 ||
            ::close(file.Release()) != 0) {
            ::unlink(temporary.c_str());
            return ERROR_CANTWRITE;
        }
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return ERROR_CANTWRITE;
    }
    // The rename itself is durable only once the folder is flushed.
    FileDescriptor folder(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
    struct stat info {};
    stamp = ::stat(path.c_str(), &info) == 0 ? StampOf(info) : FileStamp();
    return ERROR_SUCCESS;
}

}  // namespace comrt
