// Tests of the registry functions: values, names, handles, the merged HKEY_CLASSES_ROOT view,
// persistence across processes, concurrent writers and damaged hive files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "scratch_registry.h"
#include "win_registry.h"

namespace {

LONG SetString(HKEY key, const char16_t* name, const std::u16string& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
}

std::u16string QueryString(HKEY key, const char16_t* name, LONG* status = nullptr) {
    char16_t buffer[512] = {};
    DWORD size = sizeof(buffer) - sizeof(char16_t);
    DWORD type = 0;
    const LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status != nullptr) *status = result;
    return result == ERROR_SUCCESS ? std::u16string(buffer) : std::u16string();
}

HKEY Create(HKEY base, const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(base, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, disposition),
        ERROR_SUCCESS)
        << "creating key";
    return key;
}

LONG Open(HKEY base, const char16_t* path, HKEY* key, REGSAM access = KEY_READ) {
    return RegOpenKeyExW(base, path, 0, access, key);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

class RegistryTest : public ::testing::Test {
  protected:
    ScratchRegistry registry;
};

TEST_F(RegistryTest, ValuesRoundTripWithTypesAndEmbeddedZeros) {
    DWORD disposition = 0;
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Zelmo\\Test", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(SetString(key, nullptr, u"default text"), ERROR_SUCCESS);
    const DWORD number = 0xFFFFFFFF;
    ASSERT_EQ(
        RegSetValueExW(key, u"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
        ERROR_SUCCESS);
    const BYTE blob[] = {0, 1, 0, 2, 0};
    ASSERT_EQ(RegSetValueExW(key, u"Blob", 0, REG_BINARY, blob, sizeof(blob)), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    RegCloseKey(key);

    HKEY again = Create(HKEY_CURRENT_USER, u"Software\\Zelmo\\Test", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(QueryString(again, u""), u"default text");  // "" and null both name the default
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    ASSERT_EQ(
        RegQueryValueExW(again, u"number", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, number);
    BYTE read[8] = {};
    size = sizeof(read);
    ASSERT_EQ(RegQueryValueExW(again, u"Blob", nullptr, &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, sizeof(blob));
    EXPECT_EQ(std::vector<BYTE>(read, read + size), std::vector<BYTE>(blob, blob + sizeof(blob)));
    size = 99;
    ASSERT_EQ(RegQueryValueExW(again, u"Empty", nullptr, &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 0u);
    RegCloseKey(again);
}

TEST_F(RegistryTest, HivesAreSeparateFiles) {
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"Software\\OnlyMachine"));
    RegCloseKey(Create(HKEY_USERS, u".DEFAULT\\OnlyUsers"));
    HKEY key = nullptr;
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software\\OnlyMachine", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, u".DEFAULT", &key), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(Open(HKEY_USERS, u".default\\onlyusers", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(ReadFile(registry.HivePath("machine.reg")).empty());
    EXPECT_FALSE(ReadFile(registry.HivePath("users.reg")).empty());
    EXPECT_TRUE(ReadFile(registry.HivePath("user.reg")).empty());  // never written
}

TEST_F(RegistryTest, QueryBufferRules) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Sizes");
    ASSERT_EQ(SetString(key, u"Text", u"abcd"), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    // Without a buffer only the size comes back.
    ASSERT_EQ(RegQueryValueExW(key, u"Text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, REG_SZ);
    char16_t buffer[8];
    size = 9;
    type = 0;
    EXPECT_EQ(
        RegQueryValueExW(key, u"Text", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_MORE_DATA);
    EXPECT_EQ(size, 10u);
    EXPECT_EQ(type, REG_SZ);
    size = 10;
    EXPECT_EQ(
        RegQueryValueExW(key, u"Text", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    EXPECT_EQ(
        RegQueryValueExW(key, u"Text", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);

    // Text stored without a terminator reads back terminated when the buffer has room.
    ASSERT_EQ(RegSetValueExW(key, u"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"xy"), 4),
              ERROR_SUCCESS);
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    size = sizeof(buffer);
    ASSERT_EQ(
        RegQueryValueExW(key, u"Bare", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::u16string(buffer), u"xy");
    RegCloseKey(key);
}

TEST_F(RegistryTest, NamesAreCaseInsensitiveAndKeepTheirCase) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\MixedCase");
    ASSERT_EQ(SetString(key, u"ValueName", u"one"), ERROR_SUCCESS);
    ASSERT_EQ(SetString(key, u"VALUENAME", u"two"), ERROR_SUCCESS);  // replaces, keeps "ValueName"
    RegCloseKey(key);

    HKEY opened = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"SOFTWARE\\mixedcase", &opened), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(opened, u"valuename"), u"two");
    char16_t name[64];
    DWORD length = 64;
    ASSERT_EQ(RegEnumValueW(opened, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, length), u"ValueName");
    length = 64;
    EXPECT_EQ(RegEnumValueW(opened, 1, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(opened);

    HKEY software = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"software", &software), ERROR_SUCCESS);
    length = 64;
    ASSERT_EQ(RegEnumKeyExW(software, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, length), u"MixedCase");
    RegCloseKey(software);
}

TEST_F(RegistryTest, EnumerationOrderAndBufferLimits) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Enum");
    for (const char16_t* child : {u"beta", u"Alpha", u"gamma"}) RegCloseKey(Create(key, child));
    for (const char16_t* value : {u"z", u"a", u"m"}) ASSERT_EQ(SetString(key, value, u"v"), 0);
    std::vector<std::u16string> keys;
    char16_t name[16];
    for (DWORD index = 0;; ++index) {
        DWORD length = 16;
        const LONG status =
            RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        keys.emplace_back(name, length);
    }
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma"}));
    std::vector<std::u16string> values;
    for (DWORD index = 0;; ++index) {
        DWORD length = 16;
        const LONG status =
            RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        values.emplace_back(name, length);
    }
    EXPECT_EQ(values, (std::vector<std::u16string>{u"z", u"a", u"m"}));  // the order they were set
    // The name's buffer must hold the terminator too.
    DWORD length = 5;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    length = 6;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(length, 5u);
    BYTE data[1];
    DWORD size = sizeof(data);
    length = 16;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, nullptr, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeleteKeyTreeAndValue) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Tree\\Leaf\\Deeper");
    RegCloseKey(key);
    HKEY tree = Create(HKEY_CURRENT_USER, u"Software\\Tree");
    ASSERT_EQ(SetString(tree, u"Kept", u"1"), ERROR_SUCCESS);
    // A key with subkeys cannot be deleted on its own.
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Tree\\Leaf"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Tree\\Leaf\\Deeper"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Tree\\Leaf\\Deeper"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, nullptr), ERROR_INVALID_PARAMETER);
    RegCloseKey(Create(tree, u"Leaf\\Again\\More"));
    EXPECT_EQ(RegDeleteTreeW(tree, u"Leaf"), ERROR_SUCCESS);
    HKEY gone = nullptr;
    EXPECT_EQ(Open(tree, u"Leaf", &gone), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(gone, nullptr);
    EXPECT_EQ(QueryString(tree, u"Kept"), u"1");
    EXPECT_EQ(RegDeleteValueW(tree, u"kept"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(tree, u"kept"), ERROR_FILE_NOT_FOUND);
    // Without a subkey the tree's contents go and the key stays.
    RegCloseKey(Create(tree, u"Child"));
    ASSERT_EQ(SetString(tree, u"V", u"x"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(tree, nullptr), ERROR_SUCCESS);
    char16_t name[16];
    DWORD length = 16;
    EXPECT_EQ(RegEnumKeyExW(tree, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    length = 16;
    EXPECT_EQ(RegEnumValueW(tree, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(tree);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"Software\\NoSuchKey"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HandlesOfDeletedClosedAndUnknownKeys) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Doomed");
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Doomed"), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"v", u"x"), ERROR_KEY_DELETED);
    EXPECT_EQ(QueryString(key, u"v", nullptr), u"");
    LONG status = 0;
    QueryString(key, u"v", &status);
    EXPECT_EQ(status, ERROR_KEY_DELETED);
    // A new key at the same path is a different key: the old handle stays deleted.
    HKEY recreated = Create(HKEY_CURRENT_USER, u"Software\\Doomed");
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(key, u"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetString(key, u"v", u"x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetString(reinterpret_cast<HKEY>(0x12345), u"v", u"x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetString(nullptr, u"v", u"x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(SetString(recreated, u"v", u"x"), ERROR_SUCCESS);
    RegCloseKey(recreated);
}

TEST_F(RegistryTest, AccessRightsOfTheHandleAreEnforced) {
    RegCloseKey(Create(HKEY_CURRENT_USER, u"Software\\ReadOnly"));
    HKEY key = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\ReadOnly", &key, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"v", u"x"), ERROR_ACCESS_DENIED);
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(key, u"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
        ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\ReadOnly", &key, KEY_SET_VALUE), ERROR_SUCCESS);
    EXPECT_EQ(SetString(key, u"v", u"x"), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(RegistryTest, PathRules) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"A\\\\B", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"\\A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_INVALID_PARAMETER);
    const std::u16string longName(256, u'k');
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, longName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"A", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    // Keys nest at most 512 deep.
    std::u16string deep = u"D";
    for (int level = 1; level < 512; ++level) deep += u"\\D";
    RegCloseKey(Create(HKEY_CURRENT_USER, deep.c_str()));
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (deep + u"\\D").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, u"D"), ERROR_SUCCESS);
    RegCloseKey(Create(HKEY_CURRENT_USER, u"Trailing\\"));
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Trailing", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    // An empty subkey opens a new handle to the same key.
    HKEY same = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"", &same, KEY_ALL_ACCESS), ERROR_SUCCESS);
    HKEY viaSame = nullptr;
    EXPECT_EQ(Open(same, u"trailing", &viaSame), ERROR_SUCCESS);
    RegCloseKey(viaSame);
    RegCloseKey(same);
}

TEST_F(RegistryTest, ClassesRootMergesUserOverMachine) {
    HKEY machine = Create(HKEY_LOCAL_MACHINE, u"Software\\Classes\\Shared");
    ASSERT_EQ(SetString(machine, nullptr, u"machine"), ERROR_SUCCESS);
    RegCloseKey(Create(machine, u"FromMachine"));
    RegCloseKey(machine);
    HKEY machineOnly = Create(HKEY_LOCAL_MACHINE, u"Software\\Classes\\MachineOnly");
    RegCloseKey(machineOnly);
    HKEY user = Create(HKEY_CURRENT_USER, u"Software\\Classes\\Shared");
    ASSERT_EQ(SetString(user, nullptr, u"user"), ERROR_SUCCESS);
    RegCloseKey(Create(user, u"FromUser"));
    RegCloseKey(user);

    HKEY merged = nullptr;
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u"shared", &merged, KEY_ALL_ACCESS), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(merged, nullptr), u"user");
    std::vector<std::u16string> children;
    char16_t name[32];
    for (DWORD index = 0;; ++index) {
        DWORD length = 32;
        if (RegEnumKeyExW(merged, index, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
            break;
        }
        children.emplace_back(name, length);
    }
    EXPECT_EQ(children, (std::vector<std::u16string>{u"FromMachine", u"FromUser"}));
    // A value written through the merged view goes to the user's key, which exists.
    ASSERT_EQ(SetString(merged, u"Written", u"w"), ERROR_SUCCESS);
    RegCloseKey(merged);
    HKEY check = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Classes\\Shared", &check), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(check, u"Written"), u"w");
    RegCloseKey(check);

    HKEY fromMachine = nullptr;
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u"MachineOnly", &fromMachine), ERROR_SUCCESS);
    RegCloseKey(fromMachine);
    // New keys created through the merged view go to the machine's classes.
    DWORD disposition = 0;
    HKEY created = Create(HKEY_CLASSES_ROOT, u"Brand\\New", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(SetString(created, nullptr, u"n"), ERROR_SUCCESS);
    RegCloseKey(created);
    ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, u"Software\\Classes\\Brand\\New", &check), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(check, nullptr), u"n");
    RegCloseKey(check);
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Classes\\Brand", &check), ERROR_FILE_NOT_FOUND);

    // Deleting through the view removes the user's key first; the machine's then shows through.
    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, u"Shared"), ERROR_SUCCESS);
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u"Shared", &merged), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(merged, nullptr), u"machine");
    RegCloseKey(merged);
    EXPECT_EQ(Open(HKEY_CLASSES_ROOT, u"Nowhere", &merged), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeen) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Shared");
    ASSERT_EQ(SetString(key, u"Parent", u"before"), ERROR_SUCCESS);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        HKEY childKey = nullptr;
        bool ok = RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Shared", 0, KEY_ALL_ACCESS,
                                &childKey) == ERROR_SUCCESS;
        ok = ok && QueryString(childKey, u"Parent") == u"before";
        ok = ok && SetString(childKey, u"Child", u"written by child") == ERROR_SUCCESS;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(QueryString(key, u"Child"), u"written by child");
    EXPECT_EQ(QueryString(key, u"Parent"), u"before");
    RegCloseKey(key);
}

TEST_F(RegistryTest, ConcurrentWriterProcessesLoseNothing) {
    constexpr int kWriters = 2;
    constexpr int kKeysEach = 60;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < kKeysEach && ok; ++i) {
                const std::string name =
                    "Software\\Race\\W" + std::to_string(writer) + "K" + std::to_string(i);
                const std::u16string path(name.begin(), name.end());
                HKEY key = nullptr;
                ok = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr) == ERROR_SUCCESS;
                ok = ok && SetString(key, u"Writer", path) == ERROR_SUCCESS;
                RegCloseKey(key);
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HKEY race = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"Software\\Race", &race), ERROR_SUCCESS);
    int count = 0;
    char16_t name[32];
    for (DWORD index = 0;; ++index) {
        DWORD length = 32;
        if (RegEnumKeyExW(race, index, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
            break;
        }
        HKEY key = nullptr;
        ASSERT_EQ(Open(race, name, &key), ERROR_SUCCESS);
        EXPECT_EQ(QueryString(key, u"Writer"), u"Software\\Race\\" + std::u16string(name, length));
        RegCloseKey(key);
        ++count;
    }
    EXPECT_EQ(count, kWriters * kKeysEach);
    RegCloseKey(race);
}

TEST_F(RegistryTest, ConcurrentThreadsShareHandlesSafely) {
    HKEY shared = Create(HKEY_LOCAL_MACHINE, u"Software\\Threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([shared, t] {
            for (int i = 0; i < 25; ++i) {
                const std::string name = "T" + std::to_string(t) + "V" + std::to_string(i);
                const std::u16string wide(name.begin(), name.end());
                EXPECT_EQ(SetString(shared, wide.c_str(), wide), ERROR_SUCCESS);
                HKEY child = nullptr;
                EXPECT_EQ(RegCreateKeyExW(shared, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                          nullptr, &child, nullptr),
                          ERROR_SUCCESS);
                EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
            }
        });
    }
    for (auto& thread : threads) thread.join();
    DWORD values = 0;
    char16_t name[32];
    for (;; ++values) {
        DWORD length = 32;
        if (RegEnumValueW(shared, values, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
            break;
        }
    }
    EXPECT_EQ(values, 100u);
    DWORD keys = 0;
    for (;; ++keys) {
        DWORD length = 32;
        if (RegEnumKeyExW(shared, keys, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) {
            break;
        }
    }
    EXPECT_EQ(keys, 100u);
    RegCloseKey(shared);
}

TEST_F(RegistryTest, DamagedFileIsReportedAndNeverReplaced) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Fragile");
    ASSERT_EQ(SetString(key, u"v", u"x"), ERROR_SUCCESS);
    const std::string path = registry.HivePath("user.reg");
    const std::string good = ReadFile(path);
    ASSERT_FALSE(good.empty());

    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x01;
    const std::string damaged[] = {
        flipped,     good.substr(0, good.size() - 5), good.substr(0, good.size() / 2),
        "garbage\n", std::string(1000, '\0'),
    };
    for (const std::string& contents : damaged) {
        WriteFile(path, contents);
        EXPECT_EQ(SetString(key, u"v", u"y"), ERROR_REGISTRY_CORRUPT);
        HKEY other = nullptr;
        EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software", &other), ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &other, nullptr),
                  ERROR_REGISTRY_CORRUPT);
        EXPECT_EQ(ReadFile(path), contents);
    }
    // Another format version is named as such. The machine's hive is unaffected throughout.
    std::string future = good;
    future.replace(future.find(" 1\n"), 3, " 2\n");
    WriteFile(path, future);
    HKEY other = nullptr;
    EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software", &other), ERROR_BADDB);
    RegCloseKey(Create(HKEY_LOCAL_MACHINE, u"Software\\Fine"));

    WriteFile(path, good);
    EXPECT_EQ(QueryString(key, u"v"), u"x");
    RegCloseKey(key);
}

TEST_F(RegistryTest, RandomDamageNeverCrashes) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Fuzz\\Inner");
    ASSERT_EQ(SetString(key, u"name with space", u"text"), ERROR_SUCCESS);
    RegCloseKey(key);
    const std::string path = registry.HivePath("user.reg");
    const std::string good = ReadFile(path);
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        std::string contents = good;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % contents.size();
            switch (random() % 3) {
                case 0:
                    contents[at] = static_cast<char>(random());
                    break;
                case 1:
                    contents.erase(at, 1 + random() % 8);
                    break;
                default:
                    contents.insert(at, 1, static_cast<char>(random()));
                    break;
            }
            if (contents.empty()) contents = "x";
        }
        WriteFile(path, contents);
        HKEY opened = nullptr;
        const LONG status = Open(HKEY_CURRENT_USER, u"Software\\Fuzz\\Inner", &opened);
        EXPECT_TRUE(status == ERROR_REGISTRY_CORRUPT || status == ERROR_BADDB ||
                    status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
            << status;
        if (status == ERROR_SUCCESS) RegCloseKey(opened);
    }
}

TEST(RegistryRootTest, HiveFilesReadBackInAnotherRoot) {
    // A copy of the files in a root this process never used must be parsed from disk.
    std::string machineFile;
    std::string userFile;
    {
        ScratchRegistry writer;
        HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Classes\\Odd Name%\\\u00e9\u4e2d");
        const BYTE blob[] = {0, 0xFF, 0x25, 0x5C};
        ASSERT_EQ(RegSetValueExW(key, u"bin\\ary %", 0, REG_BINARY, blob, sizeof(blob)), 0);
        ASSERT_EQ(SetString(key, nullptr, u"\u00e9t\u00e9"), ERROR_SUCCESS);
        RegCloseKey(key);
        HKEY user = Create(HKEY_CURRENT_USER, u"Environment");
        ASSERT_EQ(SetString(user, u"Empty", u""), ERROR_SUCCESS);
        RegCloseKey(user);
        machineFile = ReadFile(writer.HivePath("machine.reg"));
        userFile = ReadFile(writer.HivePath("user.reg"));
    }
    ScratchRegistry reader;
    WriteFile(reader.HivePath("machine.reg"), machineFile);
    WriteFile(reader.HivePath("user.reg"), userFile);
    HKEY key = nullptr;
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u"odd name%\\\u00c9\u4e2d", &key), ERROR_FILE_NOT_FOUND)
        << "folding is ASCII only";
    ASSERT_EQ(Open(HKEY_CLASSES_ROOT, u"odd name%\\\u00e9\u4e2d", &key), ERROR_SUCCESS);
    EXPECT_EQ(QueryString(key, nullptr), u"\u00e9t\u00e9");
    BYTE read[8];
    DWORD size = sizeof(read);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, u"BIN\\ARY %", nullptr, &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(std::vector<BYTE>(read, read + size), (std::vector<BYTE>{0, 0xFF, 0x25, 0x5C}));
    RegCloseKey(key);
    ASSERT_EQ(Open(HKEY_CURRENT_USER, u"environment", &key), ERROR_SUCCESS);
    size = sizeof(read);
    ASSERT_EQ(RegQueryValueExW(key, u"Empty", nullptr, &type, read, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    RegCloseKey(key);
}

TEST(RegistryRootTest, HandlesStayWithTheRootTheyWereOpenedIn) {
    HKEY first = nullptr;
    {
        ScratchRegistry a;
        first = Create(HKEY_CURRENT_USER, u"Software\\RootA");
        ASSERT_EQ(SetString(first, u"v", u"a"), ERROR_SUCCESS);
        ScratchRegistry b;  // the environment now names b's root
        HKEY missing = nullptr;
        EXPECT_EQ(Open(HKEY_CURRENT_USER, u"Software\\RootA", &missing), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(QueryString(first, u"v"), u"a");
    }
    RegCloseKey(first);
}

}  // namespace
