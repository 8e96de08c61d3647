// CComBSTR: owns one BSTR (allocated and freed through the runtime). Allocation failures in
// constructors and operators throw std::bad_alloc; methods that return HRESULT report them.
#pragma once

#include <new>
#include <string>
#include <string_view>
#include <memory>
#include <utility>

#include "com_base.h"
#include "com_runtime.h"
#include "module_resources.h"
#include "this_module.h"
#include "utf_text.h"

class CComBSTR {
  public:
    CComBSTR() noexcept = default;
    CComBSTR(LPCOLESTR text) : m_str(Allocate(text)) {}  // NOLINT(google-explicit-constructor)
    CComBSTR(int length, LPCOLESTR text) : m_str(AllocateLength(text, length)) {}
    explicit CComBSTR(int length) : m_str(AllocateLength(nullptr, length)) {}
    // UTF-8 text, the ANSI code page of this platform.
    explicit CComBSTR(LPCSTR text) {
        if (text != nullptr) m_str = AllocateView(comrt::Utf8ToUtf16(text));
    }
    explicit CComBSTR(std::u16string_view text) : m_str(AllocateView(text)) {}
    explicit CComBSTR(REFGUID guid) {
        OLECHAR text[40] = {};
        const int length = StringFromGUID2(guid, text, 40);
        m_str = AllocateLength(text, length > 0 ? length - 1 : 0);
    }
    CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {
        if (other.m_str != nullptr && m_str == nullptr) throw std::bad_alloc();
    }
    CComBSTR(CComBSTR&& other) noexcept : m_str(std::exchange(other.m_str, nullptr)) {}
    ~CComBSTR() { ::SysFreeString(m_str); }

    CComBSTR& operator=(const CComBSTR& other) {
        if (this != std::addressof(other)) Replace(other.Copy(), other.m_str != nullptr);
        return *this;
    }
    CComBSTR& operator=(CComBSTR&& other) noexcept {
        if (this != std::addressof(other)) {
            ::SysFreeString(m_str);
            m_str = std::exchange(other.m_str, nullptr);
        }
        return *this;
    }
    CComBSTR& operator=(LPCOLESTR text) {
        if (text != m_str) Replace(Allocate(text), text != nullptr);
        return *this;
    }

    operator BSTR() const noexcept { return m_str; }  // NOLINT(google-explicit-constructor)
    // For out-parameters; the string must be empty.
    BSTR* operator&() noexcept { return &m_str; }
    bool operator!() const noexcept { return m_str == nullptr; }

    unsigned int Length() const noexcept { return ::SysStringLen(m_str); }
    unsigned int ByteLength() const noexcept { return ::SysStringByteLen(m_str); }
    std::u16string_view View() const noexcept {
        return m_str == nullptr ? std::u16string_view() : std::u16string_view(m_str, Length());
    }

    BSTR Copy() const noexcept {
        return m_str == nullptr ? nullptr : ::SysAllocStringLen(m_str, Length());
    }
    HRESULT CopyTo(BSTR* pbstr) const noexcept {
        if (pbstr == nullptr) return E_POINTER;
        *pbstr = Copy();
        return (*pbstr == nullptr && m_str != nullptr) ? E_OUTOFMEMORY : S_OK;
    }
    void Attach(BSTR src) noexcept {
        if (src != m_str) {
            ::SysFreeString(m_str);
            m_str = src;
        }
    }
    BSTR Detach() noexcept { return std::exchange(m_str, nullptr); }
    void Empty() noexcept {
        ::SysFreeString(m_str);
        m_str = nullptr;
    }

    HRESULT Append(LPCOLESTR text, int length) noexcept {
        if (length < 0) return E_INVALIDARG;
        if (length == 0 && m_str != nullptr) return S_OK;
        if (text == nullptr && length > 0) return E_INVALIDARG;
        const unsigned int current = Length();
        BSTR joined = ::SysAllocStringLen(nullptr, current + static_cast<unsigned int>(length));
        if (joined == nullptr) return E_OUTOFMEMORY;
        for (unsigned int i = 0; i < current; ++i) joined[i] = m_str[i];
        for (int i = 0; i < length; ++i) joined[current + static_cast<unsigned int>(i)] = text[i];
        ::SysFreeString(m_str);
        m_str = joined;
        return S_OK;
    }
    HRESULT Append(LPCOLESTR text) noexcept {
        return Append(text,
                      text == nullptr ? 0 : static_cast<int>(std::u16string_view(text).size()));
    }
    HRESULT Append(const CComBSTR& other) noexcept {
        return Append(other.m_str, static_cast<int>(other.Length()));
    }
    HRESULT AppendBSTR(BSTR text) noexcept {
        return Append(text, static_cast<int>(::SysStringLen(text)));
    }
    CComBSTR& operator+=(const CComBSTR& other) {
        if (FAILED(Append(other))) throw std::bad_alloc();
        return *this;
    }
    CComBSTR& operator+=(LPCOLESTR text) {
        if (FAILED(Append(text))) throw std::bad_alloc();
        return *this;
    }

    // Equal when both are null/empty alike or hold the same characters.
    bool operator==(const CComBSTR& other) const noexcept {
        return View() == other.View() && (m_str == nullptr) == (other.m_str == nullptr);
    }
    bool operator!=(const CComBSTR& other) const noexcept { return !(*this == other); }
    bool operator==(LPCOLESTR text) const noexcept {
        if (text == nullptr || m_str == nullptr) return text == nullptr && m_str == nullptr;
        return View() == std::u16string_view(text);
    }
    bool operator!=(LPCOLESTR text) const noexcept { return !(*this == text); }
    bool operator==(std::nullptr_t) const noexcept { return m_str == nullptr; }
    bool operator!=(std::nullptr_t) const noexcept { return m_str != nullptr; }

    // The string resource id of this module (or of `instance`).
    bool LoadString(UINT id) { return LoadString(GetThisModuleInstance(), id); }
    bool LoadString(HINSTANCE instance, UINT id) {
        OLECHAR buffer[1024] = {};
        const int length = ::LoadStringW(instance, id, buffer, 1024);
        if (length <= 0) return false;
        Replace(AllocateLength(buffer, length), true);
        return true;
    }

    BSTR m_str = nullptr;

  private:
    static BSTR Allocate(LPCOLESTR text) {
        if (text == nullptr) return nullptr;
        BSTR result = ::SysAllocString(text);
        if (result == nullptr) throw std::bad_alloc();
        return result;
    }
    static BSTR AllocateLength(LPCOLESTR text, int length) {
        if (length < 0) length = 0;
        BSTR result = ::SysAllocStringLen(text, static_cast<UINT>(length));
        if (result == nullptr) throw std::bad_alloc();
        return result;
    }
    static BSTR AllocateView(std::u16string_view text) {
        return AllocateLength(text.data(), static_cast<int>(text.size()));
    }
    void Replace(BSTR fresh, bool expected) {
        if (expected && fresh == nullptr) throw std::bad_alloc();
        ::SysFreeString(m_str);
        m_str = fresh;
    }
};
