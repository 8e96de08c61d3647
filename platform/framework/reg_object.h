// The registrar: registry scripts with replacements, from text or from a module's "REGISTRY"
// resources, registered per machine or per user.
#pragma once

#include <string>
#include <string_view>

#include "com_base.h"
#include "com_guard.h"
#include "module_resources.h"
#include "registry_script.h"
#include "registry_script_writer.h"
#include "utf_text.h"

// What a module's AddCommonRGSReplacements sees of the registrar.
struct IRegistrarBase {
    STDMETHOD(AddReplacement)(LPCOLESTR key, LPCOLESTR item) = 0;
    STDMETHOD(ClearReplacements)() = 0;
};

// A script that does not parse (DISP_E_EXCEPTION, as the platform's registrar reports it).
constexpr HRESULT kRegistrarSyntaxError = static_cast<HRESULT>(0x80020009);

class CRegObject : public IRegistrarBase {
  public:
    CRegObject() = default;
    CRegObject(const CRegObject&) = delete;
    CRegObject& operator=(const CRegObject&) = delete;
    virtual ~CRegObject() = default;

    STDMETHOD(AddReplacement)(LPCOLESTR key, LPCOLESTR item) override {
        return ComGuard([&]() -> HRESULT {
            if (key == nullptr || item == nullptr) return E_INVALIDARG;
            if (*key == 0) return E_INVALIDARG;
            m_replacements[key] = item;
            return S_OK;
        });
    }
    STDMETHOD(ClearReplacements)() override {
        m_replacements.clear();
        return S_OK;
    }

    void SetPerUser(bool perUser) { m_perUser = perUser; }
    bool GetPerUser() const { return m_perUser; }
    // The parser's message for the last script that failed to parse.
    const std::string& GetLastError() const { return m_lastError; }

    HRESULT StringRegister(LPCOLESTR script) { return RegisterText(script, true); }
    HRESULT StringUnregister(LPCOLESTR script) { return RegisterText(script, false); }

    HRESULT ResourceRegister(HINSTANCE module, UINT id, LPCOLESTR type) {
        return RegisterResource(module, MAKEINTRESOURCEW(id), type, true);
    }
    HRESULT ResourceUnregister(HINSTANCE module, UINT id, LPCOLESTR type) {
        return RegisterResource(module, MAKEINTRESOURCEW(id), type, false);
    }
    HRESULT ResourceRegisterSz(HINSTANCE module, LPCOLESTR name, LPCOLESTR type) {
        return RegisterResource(module, name, type, true);
    }
    HRESULT ResourceUnregisterSz(HINSTANCE module, LPCOLESTR name, LPCOLESTR type) {
        return RegisterResource(module, name, type, false);
    }

    // Script text as a module stores it: UTF-16 (with a byte-order mark, or an ASCII first
    // character) or UTF-8; trailing terminators are dropped.
    static std::u16string DecodeScript(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        std::u16string text;
        if (bytes == nullptr || size == 0) return text;
        const bool bom16 = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
        if (bom16 || (size >= 2 && size % 2 == 0 && bytes[1] == 0 && bytes[0] != 0)) {
            for (size_t i = bom16 ? 2 : 0; i + 1 < size; i += 2)
                text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        } else {
            size_t start = size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
            start *= 3;
            text = comrt::Utf8ToUtf16(
                std::string_view(reinterpret_cast<const char*>(bytes) + start, size - start));
        }
        while (!text.empty() && text.back() == 0) text.pop_back();
        return text;
    }

    HRESULT RegisterScriptText(std::u16string_view text, bool doRegister) {
        return ComGuard([&]() -> HRESULT {
            RegScript script;
            RegistryScriptParser parser(text, m_replacements);
            m_lastError.clear();
            if (!parser.Parse(script, m_lastError)) return kRegistrarSyntaxError;
            RegistryScriptWriter writer(m_perUser);
            return doRegister ? writer.Register(script) : writer.Unregister(script);
        });
    }

  private:
    HRESULT RegisterText(LPCOLESTR script, bool doRegister) {
        if (script == nullptr) return E_INVALIDARG;
        return RegisterScriptText(std::u16string_view(script), doRegister);
    }

    HRESULT RegisterResource(HINSTANCE module, LPCOLESTR name, LPCOLESTR type, bool doRegister) {
        if (name == nullptr || type == nullptr) return E_INVALIDARG;
        HRSRC resource = FindResourceW(module, name, type);
        if (resource == nullptr) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
        HGLOBAL loaded = LoadResource(module, resource);
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        const DWORD size = SizeofResource(module, resource);
        if (data == nullptr) return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
        return ComGuard(
            [&]() -> HRESULT { return RegisterScriptText(DecodeScript(data, size), doRegister); });
    }

    RegReplacementMap m_replacements;
    bool m_perUser = false;
    std::string m_lastError;
};
