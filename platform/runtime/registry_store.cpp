// The registry behind the Reg* functions. Reads take the latest hive files as they are (each
// is replaced atomically); every change holds an exclusive lock on the root's lock file for its
// whole read-modify-write, so writers in other processes are never lost.
#include "registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "wide_text.h"

namespace comrt {

namespace {

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;

const std::vector<std::u16string>& ClassesPrefix() {
    static const std::vector<std::u16string> prefix = {u"Software", u"Classes"};
    return prefix;
}

const char* HiveFileName(HiveId hive) {
    switch (hive) {
        case HiveId::kMachine:
            return "machine.reg";
        case HiveId::kUser:
            return "user.reg";
        case HiveId::kUsers:
            return "users.reg";
    }
    return "machine.reg";
}

std::uintptr_t HandleValue(HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

REGSAM GrantedAccess(REGSAM desired) {
    REGSAM granted = desired & KEY_ALL_ACCESS;
    if ((desired & (kGenericAll | kMaximumAllowed)) != 0) granted |= KEY_ALL_ACCESS;
    if ((desired & kGenericRead) != 0) granted |= KEY_READ;
    if ((desired & kGenericWrite) != 0) granted |= KEY_WRITE;
    return granted;
}

// Splits a subkey path at backslashes; one trailing backslash is allowed, empty names are not.
LONG SplitPath(const WCHAR* subKey, std::vector<std::u16string>& components) {
    components.clear();
    if (subKey == nullptr) return ERROR_SUCCESS;
    std::u16string_view text(subKey, WideLength(subKey));
    if (!text.empty() && text.back() == u'\\') text.remove_suffix(1);
    if (text.empty()) return ERROR_SUCCESS;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = text.find(u'\\', start);
        const std::u16string_view name = text.substr(
            start, slash == std::u16string_view::npos ? std::u16string_view::npos : slash - start);
        if (name.empty() || name.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
        components.emplace_back(name);
        if (slash == std::u16string_view::npos) break;
        start = slash + 1;
    }
    return ERROR_SUCCESS;
}

std::vector<std::u16string> Concat(const std::vector<std::u16string>& a,
                                   const std::vector<std::u16string>& b) {
    std::vector<std::u16string> joined = a;
    joined.insert(joined.end(), b.begin(), b.end());
    return joined;
}

std::u16string_view ValueNameOf(const WCHAR* name) {
    return name == nullptr ? std::u16string_view() : std::u16string_view(name, WideLength(name));
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The copy-out rules shared by RegQueryValueExW and RegEnumValueW.
LONG CopyValueOut(const RegistryValue& value, DWORD* type, BYTE* data, DWORD* size) {
    if (type != nullptr) *type = value.type;
    const auto needed = static_cast<DWORD>(value.data.size());
    if (data == nullptr) {
        if (size != nullptr) *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed != 0) std::memcpy(data, value.data.data(), needed);
    // Text stored without its terminator gets one when the buffer has room, not counted in size.
    if (IsStringType(value.type) && *size >= needed + 2) {
        const bool terminated = needed >= 2 && value.data[needed - 1] == 0 &&
                                value.data[needed - 2] == 0 && needed % 2 == 0;
        if (!terminated) {
            data[needed] = 0;
            data[needed + 1] = 0;
        }
    }
    *size = needed;
    return ERROR_SUCCESS;
}

LONG CopyNameOut(std::u16string_view name, WCHAR* buffer, DWORD* length) {
    if (*length <= name.size()) return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

LONG MakeDirectories(const std::string& path) {
    std::string partial;
    std::size_t position = 0;
    while (position <= path.size()) {
        const std::size_t slash = path.find('/', position);
        const std::size_t end = slash == std::string::npos ? path.size() : slash;
        partial = path.substr(0, end);
        position = end + 1;
        if (partial.empty()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
        }
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return ERROR_PATH_NOT_FOUND;
    return ERROR_SUCCESS;
}

// Holds the root's advisory lock for one read-modify-write.
class RootWriteLock {
  public:
    RootWriteLock() = default;
    RootWriteLock(const RootWriteLock&) = delete;
    RootWriteLock& operator=(const RootWriteLock&) = delete;
    ~RootWriteLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }

    LONG Acquire(const std::string& root) {
        if (const LONG status = MakeDirectories(root); status != ERROR_SUCCESS) return status;
        const std::string path = root + "/registry.lock";
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_CANTOPEN;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) return ERROR_CANTOPEN;
        }
        return ERROR_SUCCESS;
    }

  private:
    int fd_ = -1;
};

}  // namespace

RegistryStore& RegistryStore::Instance() {
    // Never destroyed: exports may run from other modules' static destructors.
    static auto* store = new RegistryStore();
    return *store;
}

LONG RegistryStore::ResolveRoot(std::string& root) {
    const char* configured = std::getenv(COMRT_REGISTRY_ROOT_VARIABLE);
    if (configured != nullptr && configured[0] != 0) {
        root = configured;
    } else if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/') {
        root = std::string(data) + "/comrt-registry";
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != 0) {
        root = std::string(home) + "/.local/share/comrt-registry";
    } else {
        return ERROR_PATH_NOT_FOUND;
    }
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return ERROR_SUCCESS;
}

LONG RegistryStore::Resolve(HKEY key, KeyRef& ref) {
    const std::uintptr_t value = HandleValue(key);
    ref = KeyRef();
    ref.access = KEY_ALL_ACCESS;
    if (value == HandleValue(HKEY_CLASSES_ROOT)) {
        ref.merged = true;
    } else if (value == HandleValue(HKEY_CURRENT_USER)) {
        ref.hive = HiveId::kUser;
    } else if (value == HandleValue(HKEY_LOCAL_MACHINE)) {
        ref.hive = HiveId::kMachine;
    } else if (value == HandleValue(HKEY_USERS)) {
        ref.hive = HiveId::kUsers;
    } else {
        const auto found = handles_.find(value);
        if (found == handles_.end()) return ERROR_INVALID_HANDLE;
        ref = found->second;
        return ERROR_SUCCESS;
    }
    return ResolveRoot(ref.root);
}

HKEY RegistryStore::AddHandle(KeyRef ref) {
    const std::uintptr_t value = nextHandle_;
    nextHandle_ += 4;  // never reused, so a stale handle stays invalid
    handles_.emplace(value, std::move(ref));
    return reinterpret_cast<HKEY>(value);
}

LONG RegistryStore::LoadHive(const std::string& root, HiveId hive, RegistryHive*& loaded) {
    const std::string path = root + "/" + HiveFileName(hive);
    auto found = cache_.find(path);
    FileStamp stamp;
    std::unique_ptr<RegistryHive> fresh;
    bool unchanged = false;
    const LONG status = HiveFile::Read(path, found == cache_.end() ? nullptr : &found->second.stamp,
                                       stamp, fresh, unchanged);
    if (status != ERROR_SUCCESS) {
        if (found != cache_.end()) cache_.erase(found);
        return status;
    }
    if (!unchanged) {
        CachedHive& entry = cache_[path];
        entry.stamp = stamp;
        entry.hive = std::move(fresh);
        loaded = entry.hive.get();
    } else {
        loaded = found->second.hive.get();
    }
    return ERROR_SUCCESS;
}

LONG RegistryStore::SaveHive(const std::string& root, HiveId hive) {
    const std::string path = root + "/" + HiveFileName(hive);
    const auto found = cache_.find(path);
    if (found == cache_.end()) return ERROR_CANTWRITE;
    FileStamp stamp;
    const LONG status =
        HiveFile::WriteAtomically(path, HiveFile::Serialize(*found->second.hive), stamp);
    if (status != ERROR_SUCCESS) {
        // The in-memory change did not reach the disk: forget it.
        cache_.erase(found);
        return status;
    }
    found->second.stamp = stamp;
    return ERROR_SUCCESS;
}

LONG RegistryStore::FindKey(const KeyRef& ref, RegistryHive*& hive, RegistryKey*& key) {
    if (const LONG status = LoadHive(ref.root, ref.hive, hive); status != ERROR_SUCCESS) {
        return status;
    }
    key = hive->Find(ref.path);
    if (key == nullptr || key->id != ref.id) return ERROR_KEY_DELETED;
    return ERROR_SUCCESS;
}

LONG RegistryStore::FindMerged(const KeyRef& ref, const std::vector<std::u16string>& path,
                               MergedKeys& keys) {
    RegistryHive* user = nullptr;
    RegistryHive* machine = nullptr;
    if (const LONG status = LoadHive(ref.root, HiveId::kUser, user); status != ERROR_SUCCESS) {
        return status;
    }
    if (const LONG status = LoadHive(ref.root, HiveId::kMachine, machine);
        status != ERROR_SUCCESS) {
        return status;
    }
    const auto full = Concat(ClassesPrefix(), path);
    keys.user = user->Find(full);
    keys.machine = machine->Find(full);
    return ERROR_SUCCESS;
}

LONG RegistryStore::ReadableKey(const KeyRef& ref, const RegistryKey*& key) {
    key = nullptr;
    if (!ref.merged) {
        RegistryHive* hive = nullptr;
        RegistryKey* found = nullptr;
        const LONG status = FindKey(ref, hive, found);
        key = found;
        return status;
    }
    MergedKeys keys;
    if (const LONG status = FindMerged(ref, ref.path, keys); status != ERROR_SUCCESS) {
        return status;
    }
    // A key of the user's classes hides the machine's key of the same name.
    key = keys.user != nullptr ? keys.user : keys.machine;
    if (key == nullptr && !ref.path.empty()) return ERROR_KEY_DELETED;
    return ERROR_SUCCESS;
}

LONG RegistryStore::WritableKey(const KeyRef& ref, HiveId& hive, RegistryKey*& key) {
    if (!ref.merged) {
        RegistryHive* loaded = nullptr;
        hive = ref.hive;
        return FindKey(ref, loaded, key);
    }
    MergedKeys keys;
    if (const LONG status = FindMerged(ref, ref.path, keys); status != ERROR_SUCCESS) {
        return status;
    }
    if (keys.user != nullptr) {
        hive = HiveId::kUser;
        key = keys.user;
        return ERROR_SUCCESS;
    }
    hive = HiveId::kMachine;
    if (keys.machine != nullptr) {
        key = keys.machine;
        return ERROR_SUCCESS;
    }
    if (!ref.path.empty()) return ERROR_KEY_DELETED;
    RegistryHive* machine = nullptr;
    if (const LONG status = LoadHive(ref.root, HiveId::kMachine, machine);
        status != ERROR_SUCCESS) {
        return status;
    }
    bool created = false;
    key = machine->Create(ClassesPrefix(), created);
    return ERROR_SUCCESS;
}

LONG RegistryStore::CreateKey(HKEY base, const WCHAR* subKey, REGSAM access, HKEY* result,
                              DWORD* disposition) {
    if (result == nullptr || subKey == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::vector<std::u16string> relative;
    if (const LONG status = SplitPath(subKey, relative); status != ERROR_SUCCESS) return status;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(base, ref); status != ERROR_SUCCESS) return status;
    RootWriteLock lock;
    if (const LONG status = lock.Acquire(ref.root); status != ERROR_SUCCESS) return status;

    KeyRef opened = ref;
    opened.path = Concat(ref.path, relative);
    opened.access = GrantedAccess(access);
    if (opened.path.size() + (ref.merged ? ClassesPrefix().size() : 0) > RegistryHive::kMaxDepth) {
        return ERROR_INVALID_PARAMETER;
    }
    bool created = false;
    if (ref.merged) {
        MergedKeys baseKeys;
        if (const LONG status = FindMerged(ref, ref.path, baseKeys); status != ERROR_SUCCESS) {
            return status;
        }
        if (!ref.path.empty() && baseKeys.user == nullptr && baseKeys.machine == nullptr) {
            return ERROR_KEY_DELETED;
        }
        MergedKeys keys;
        if (const LONG status = FindMerged(ref, opened.path, keys); status != ERROR_SUCCESS) {
            return status;
        }
        if (keys.user == nullptr && keys.machine == nullptr) {
            if ((ref.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
            // New keys written through the merged view go to the machine's classes.
            RegistryHive* machine = nullptr;
            if (const LONG status = LoadHive(ref.root, HiveId::kMachine, machine);
                status != ERROR_SUCCESS) {
                return status;
            }
            machine->Create(Concat(ClassesPrefix(), opened.path), created);
            if (const LONG status = SaveHive(ref.root, HiveId::kMachine); status != ERROR_SUCCESS) {
                return status;
            }
        }
    } else {
        RegistryHive* hive = nullptr;
        RegistryKey* key = nullptr;
        if (const LONG status = FindKey(ref, hive, key); status != ERROR_SUCCESS) return status;
        RegistryKey* existing = hive->Find(opened.path);
        if (existing == nullptr) {
            if ((ref.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
            existing = hive->Create(opened.path, created);
            if (const LONG status = SaveHive(ref.root, ref.hive); status != ERROR_SUCCESS) {
                return status;
            }
        }
        opened.id = existing->id;
    }
    *result = AddHandle(std::move(opened));
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegistryStore::OpenKey(HKEY base, const WCHAR* subKey, REGSAM access, HKEY* result) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::vector<std::u16string> relative;
    if (const LONG status = SplitPath(subKey, relative); status != ERROR_SUCCESS) return status;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(base, ref); status != ERROR_SUCCESS) return status;
    const RegistryKey* baseKey = nullptr;
    if (const LONG status = ReadableKey(ref, baseKey); status != ERROR_SUCCESS) return status;
    KeyRef opened = ref;
    opened.path = Concat(ref.path, relative);
    opened.access = GrantedAccess(access);
    if (ref.merged) {
        MergedKeys keys;
        if (const LONG status = FindMerged(ref, opened.path, keys); status != ERROR_SUCCESS) {
            return status;
        }
        if (!opened.path.empty() && keys.user == nullptr && keys.machine == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
    } else {
        RegistryHive* hive = nullptr;
        if (const LONG status = LoadHive(ref.root, ref.hive, hive); status != ERROR_SUCCESS) {
            return status;
        }
        const RegistryKey* key = hive->Find(opened.path);
        if (key == nullptr) return ERROR_FILE_NOT_FOUND;
        opened.id = key->id;
    }
    *result = AddHandle(std::move(opened));
    return ERROR_SUCCESS;
}

LONG RegistryStore::SetValue(HKEY key, const WCHAR* name, DWORD type, const BYTE* data,
                             DWORD size) {
    if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
    const std::u16string_view valueName = ValueNameOf(name);
    if (valueName.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    if ((ref.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    RootWriteLock lock;
    if (const LONG status = lock.Acquire(ref.root); status != ERROR_SUCCESS) return status;
    HiveId hive = HiveId::kMachine;
    RegistryKey* target = nullptr;
    if (const LONG status = WritableKey(ref, hive, target); status != ERROR_SUCCESS) return status;
    std::vector<BYTE> bytes(data, data + size);
    if (RegistryValue* existing = target->FindValue(valueName)) {
        existing->type = type;
        existing->data = std::move(bytes);
    } else {
        target->values.push_back(RegistryValue{std::u16string(valueName), type, std::move(bytes)});
    }
    return SaveHive(ref.root, hive);
}

LONG RegistryStore::QueryValue(HKEY key, const WCHAR* name, DWORD* type, BYTE* data, DWORD* size) {
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    if ((ref.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const RegistryKey* source = nullptr;
    if (const LONG status = ReadableKey(ref, source); status != ERROR_SUCCESS) return status;
    const RegistryValue* value = source == nullptr ? nullptr : source->FindValue(ValueNameOf(name));
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    return CopyValueOut(*value, type, data, size);
}

LONG RegistryStore::EnumKey(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength) {
    if (name == nullptr || nameLength == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    if ((ref.access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
    if (!ref.merged) {
        RegistryHive* hive = nullptr;
        RegistryKey* found = nullptr;
        if (const LONG status = FindKey(ref, hive, found); status != ERROR_SUCCESS) return status;
        if (index >= found->children.size()) return ERROR_NO_MORE_ITEMS;
        auto child = found->children.begin();
        std::advance(child, index);
        return CopyNameOut(child->second->name, name, nameLength);
    }
    MergedKeys keys;
    if (const LONG status = FindMerged(ref, ref.path, keys); status != ERROR_SUCCESS) return status;
    if (keys.user == nullptr && keys.machine == nullptr && !ref.path.empty()) {
        return ERROR_KEY_DELETED;
    }
    // The union of both sides' subkeys in folded order; the user's spelling wins.
    std::map<std::u16string, const std::u16string*> names;
    if (keys.machine != nullptr) {
        for (const auto& [folded, child] : keys.machine->children) names[folded] = &child->name;
    }
    if (keys.user != nullptr) {
        for (const auto& [folded, child] : keys.user->children) names[folded] = &child->name;
    }
    if (index >= names.size()) return ERROR_NO_MORE_ITEMS;
    auto entry = names.begin();
    std::advance(entry, index);
    return CopyNameOut(*entry->second, name, nameLength);
}

LONG RegistryStore::EnumValue(HKEY key, DWORD index, WCHAR* name, DWORD* nameLength, DWORD* type,
                              BYTE* data, DWORD* size) {
    if (name == nullptr || nameLength == nullptr) return ERROR_INVALID_PARAMETER;
    if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    if ((ref.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const RegistryKey* source = nullptr;
    if (const LONG status = ReadableKey(ref, source); status != ERROR_SUCCESS) return status;
    if (source == nullptr || index >= source->values.size()) return ERROR_NO_MORE_ITEMS;
    const RegistryValue& value = source->values[index];
    const LONG nameStatus = CopyNameOut(value.name, name, nameLength);
    const LONG dataStatus = CopyValueOut(value, type, data, size);
    return nameStatus != ERROR_SUCCESS ? nameStatus : dataStatus;
}

LONG RegistryStore::RemoveKey(const KeyRef& ref, const std::vector<std::u16string>& relative,
                              bool tree) {
    RootWriteLock lock;
    if (const LONG status = lock.Acquire(ref.root); status != ERROR_SUCCESS) return status;
    HiveId hiveId = ref.hive;
    std::vector<std::u16string> path;
    if (ref.merged) {
        MergedKeys baseKeys;
        if (const LONG status = FindMerged(ref, ref.path, baseKeys); status != ERROR_SUCCESS) {
            return status;
        }
        if (!ref.path.empty() && baseKeys.user == nullptr && baseKeys.machine == nullptr) {
            return ERROR_KEY_DELETED;
        }
        MergedKeys keys;
        const auto target = Concat(ref.path, relative);
        if (const LONG status = FindMerged(ref, target, keys); status != ERROR_SUCCESS) {
            return status;
        }
        // The user's key is removed when there is one; the machine's key may then show through.
        hiveId = keys.user != nullptr ? HiveId::kUser : HiveId::kMachine;
        path = Concat(ClassesPrefix(), target);
        if (keys.user == nullptr && keys.machine == nullptr) return ERROR_FILE_NOT_FOUND;
    } else {
        RegistryHive* hive = nullptr;
        RegistryKey* key = nullptr;
        if (const LONG status = FindKey(ref, hive, key); status != ERROR_SUCCESS) return status;
        path = Concat(ref.path, relative);
    }
    if (path.empty()) return ERROR_ACCESS_DENIED;
    RegistryHive* hive = nullptr;
    if (const LONG status = LoadHive(ref.root, hiveId, hive); status != ERROR_SUCCESS) {
        return status;
    }
    const std::vector<std::u16string> parentPath(path.begin(), path.end() - 1);
    RegistryKey* parent = hive->Find(parentPath);
    RegistryKey* victim = parent == nullptr ? nullptr : parent->FindChild(path.back());
    if (victim == nullptr) return ERROR_FILE_NOT_FOUND;
    if (!tree && !victim->children.empty()) return ERROR_ACCESS_DENIED;
    parent->children.erase(FoldAscii(path.back()));
    return SaveHive(ref.root, hiveId);
}

LONG RegistryStore::DeleteKey(HKEY key, const WCHAR* subKey) {
    if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
    std::vector<std::u16string> relative;
    if (const LONG status = SplitPath(subKey, relative); status != ERROR_SUCCESS) return status;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    return RemoveKey(ref, relative, false);
}

LONG RegistryStore::DeleteValue(HKEY key, const WCHAR* name) {
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    if ((ref.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    RootWriteLock lock;
    if (const LONG status = lock.Acquire(ref.root); status != ERROR_SUCCESS) return status;
    HiveId hive = HiveId::kMachine;
    RegistryKey* target = nullptr;
    if (const LONG status = WritableKey(ref, hive, target); status != ERROR_SUCCESS) return status;
    if (!target->RemoveValue(ValueNameOf(name))) {
        // WritableKey may have added HKCR's machine root in memory only: forget it.
        cache_.clear();
        return ERROR_FILE_NOT_FOUND;
    }
    return SaveHive(ref.root, hive);
}

LONG RegistryStore::DeleteTree(HKEY key, const WCHAR* subKey) {
    std::vector<std::u16string> relative;
    if (const LONG status = SplitPath(subKey, relative); status != ERROR_SUCCESS) return status;
    std::lock_guard<std::mutex> guard(mutex_);
    KeyRef ref;
    if (const LONG status = Resolve(key, ref); status != ERROR_SUCCESS) return status;
    if (!relative.empty()) return RemoveKey(ref, relative, true);
    // Without a subkey the key itself stays and loses its values and subkeys.
    RootWriteLock lock;
    if (const LONG status = lock.Acquire(ref.root); status != ERROR_SUCCESS) return status;
    HiveId hive = HiveId::kMachine;
    RegistryKey* target = nullptr;
    if (const LONG status = WritableKey(ref, hive, target); status != ERROR_SUCCESS) return status;
    target->children.clear();
    target->values.clear();
    return SaveHive(ref.root, hive);
}

LONG RegistryStore::CloseKey(HKEY key) {
    std::lock_guard<std::mutex> guard(mutex_);
    const std::uintptr_t value = HandleValue(key);
    if (value == HandleValue(HKEY_CLASSES_ROOT) || value == HandleValue(HKEY_CURRENT_USER) ||
        value == HandleValue(HKEY_LOCAL_MACHINE) || value == HandleValue(HKEY_USERS)) {
        return ERROR_SUCCESS;
    }
    return handles_.erase(value) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace comrt
