// BSTR allocation with the published layout: a 32-bit byte count right before the text and a
// 16-bit terminator right after it. The count sits at the end of an 8-byte header so the text
// stays 8-byte aligned.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "com_runtime.h"
#include "wide_text.h"

namespace {

constexpr std::size_t kHeaderSize = 8;
// Largest byte count that still fits the 32-bit prefix with room for the terminator.
constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max() - kHeaderSize - 4;

char* BlockOf(BSTR bstr) { return reinterpret_cast<char*>(bstr) - kHeaderSize; }

std::uint32_t ByteLengthOf(BSTR bstr) {
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<char*>(bstr) - sizeof(bytes), sizeof(bytes));
    return bytes;
}

// Allocates room for byteCount bytes; copies from source when given, else zero-fills.
BSTR AllocateBytes(const void* source, std::size_t byteCount) {
    if (byteCount > kMaxBytes) return nullptr;
    // Two terminator bytes plus one pad byte keep an odd byte count's terminator whole.
    auto* block = static_cast<char*>(std::malloc(kHeaderSize + byteCount + 3));
    if (block == nullptr) return nullptr;
    const auto bytes = static_cast<std::uint32_t>(byteCount);
    std::memset(block, 0, kHeaderSize);
    std::memcpy(block + kHeaderSize - sizeof(bytes), &bytes, sizeof(bytes));
    char* text = block + kHeaderSize;
    if (source != nullptr) {
        std::memcpy(text, source, byteCount);
    } else {
        std::memset(text, 0, byteCount);
    }
    std::memset(text + byteCount, 0, 3);
    return reinterpret_cast<BSTR>(text);
}

}  // namespace

STDAPI_(BSTR) SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr) return nullptr;
    return AllocateBytes(psz, comrt::WideLength(psz) * sizeof(OLECHAR));
}

STDAPI_(BSTR) SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    return AllocateBytes(strIn, static_cast<std::size_t>(ui) * sizeof(OLECHAR));
}

STDAPI_(BSTR) SysAllocStringByteLen(LPCSTR psz, UINT len) { return AllocateBytes(psz, len); }

STDAPI_(INT) SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
    if (pbstr == nullptr) return FALSE;
    // The source may point into the old string, so the new one is built before the old is freed.
    BSTR fresh = SysAllocStringLen(psz, len);
    if (fresh == nullptr) return FALSE;
    if (psz == nullptr && *pbstr != nullptr) {
        const std::size_t keep = std::min<std::size_t>(SysStringLen(*pbstr), len);
        std::memcpy(fresh, *pbstr, keep * sizeof(OLECHAR));
    }
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

STDAPI_(INT) SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (pbstr == nullptr) return FALSE;
    BSTR fresh = SysAllocString(psz);
    if (fresh == nullptr && psz != nullptr) return FALSE;
    SysFreeString(*pbstr);
    *pbstr = fresh;
    return TRUE;
}

STDAPI_(void) SysFreeString(BSTR bstrString) {
    if (bstrString != nullptr) std::free(BlockOf(bstrString));
}

STDAPI_(UINT) SysStringLen(BSTR pbstr) {
    return pbstr == nullptr ? 0 : ByteLengthOf(pbstr) / sizeof(OLECHAR);
}

STDAPI_(UINT) SysStringByteLen(BSTR bstr) { return bstr == nullptr ? 0 : ByteLengthOf(bstr); }
