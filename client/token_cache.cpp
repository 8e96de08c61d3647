// The process-wide login cache, guarded by its own lock.
#include "client/token_cache.h"

TokenCache& TokenCache::Instance() {
    // Never destroyed: a consumer's thread may still log in while the process exits.
    static TokenCache* cache = new TokenCache();
    return *cache;
}

std::optional<APIAuthToken> TokenCache::Find(const std::u16string& user) const {
    std::lock_guard<std::mutex> guard(lock);
    auto it = entries.find(user);
    if (it == entries.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool TokenCache::Contains(const std::u16string& user) const {
    std::lock_guard<std::mutex> guard(lock);
    return entries.count(user) != 0;
}

void TokenCache::Insert(const std::u16string& user, const APIAuthToken& token) {
    if (!token.IsLoggedIn()) {
        return;
    }
    std::lock_guard<std::mutex> guard(lock);
    entries.emplace(user, token);
}

void TokenCache::ClearForTesting() {
    std::lock_guard<std::mutex> guard(lock);
    entries.clear();
}

size_t TokenCache::Size() const {
    std::lock_guard<std::mutex> guard(lock);
    return entries.size();
}
