// The registry script language of .rgs resources, parsed into a tree before anything touches the
// registry: root blocks, nested keys, default and named values, ForceRemove/NoRemove/Delete and
// %NAME% replacements.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "win_registry.h"

enum class RegScriptRoot { ClassesRoot, CurrentUser, LocalMachine, Users };
enum class RegScriptKeyFlag { None, ForceRemove, NoRemove, Delete };

struct RegScriptValue {
    DWORD type = REG_SZ;
    std::vector<BYTE> data;  // exactly as RegSetValueExW takes it
};

struct RegScriptKey {
    std::u16string name;
    RegScriptKeyFlag flag = RegScriptKeyFlag::None;
    std::optional<RegScriptValue> defaultValue;
    std::vector<std::pair<std::u16string, RegScriptValue>> values;
    std::vector<RegScriptKey> subkeys;
};

struct RegScriptBlock {
    RegScriptRoot root = RegScriptRoot::ClassesRoot;
    RegScriptKey body;  // unnamed: the root key itself
};

struct RegScript {
    std::vector<RegScriptBlock> blocks;
};

// Replacement names compare without regard to case, as the platform's registrar does.
struct RegReplacementLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
    }
    static char16_t Fold(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }
};
using RegReplacementMap = std::map<std::u16string, std::u16string, RegReplacementLess>;

// Parses a whole script; on failure `error` says what and where, and `script` is left empty.
class RegistryScriptParser {
  public:
    static constexpr size_t kMaxDepth = 32;
    static constexpr size_t kMaxKeyNameLength = 255;
    static constexpr size_t kMaxValueNameLength = 16383;

    // Keeps its own copies, so temporaries may be passed.
    RegistryScriptParser(std::u16string_view text, RegReplacementMap replacements)
        : m_text(text), m_replacements(std::move(replacements)) {}

    bool Parse(RegScript& script, std::string& error) {
        script.blocks.clear();
        RegScript parsed;
        Token token;
        while (Next(token)) {
            RegScriptBlock block;
            if (token.kind != TokenKind::Word || !RootFromName(token.text, block.root))
                return Fail("expected a root key name", error);
            if (!Next(token) || token.kind != TokenKind::Open) return Fail("expected '{'", error);
            if (!ParseBody(block.body, 1)) return Fail(m_error, error);
            parsed.blocks.push_back(std::move(block));
        }
        if (!m_error.empty()) return Fail(m_error, error);
        script = std::move(parsed);
        return true;
    }

  private:
    enum class TokenKind { Word, Quoted, Open, Close, Equals };
    struct Token {
        TokenKind kind = TokenKind::Word;
        std::u16string text;
    };

    static bool IsSpace(char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v' ||
               c == 0xFEFF;
    }
    static bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (RegReplacementLess::Fold(a[i]) != RegReplacementLess::Fold(b[i])) return false;
        return true;
    }
    static bool RootFromName(std::u16string_view name, RegScriptRoot& root) {
        if (EqualsNoCase(name, u"HKCR") || EqualsNoCase(name, u"HKEY_CLASSES_ROOT"))
            root = RegScriptRoot::ClassesRoot;
        else if (EqualsNoCase(name, u"HKCU") || EqualsNoCase(name, u"HKEY_CURRENT_USER"))
            root = RegScriptRoot::CurrentUser;
        else if (EqualsNoCase(name, u"HKLM") || EqualsNoCase(name, u"HKEY_LOCAL_MACHINE"))
            root = RegScriptRoot::LocalMachine;
        else if (EqualsNoCase(name, u"HKU") || EqualsNoCase(name, u"HKEY_USERS"))
            root = RegScriptRoot::Users;
        else
            return false;
        return true;
    }

    bool Fail(const std::string& what, std::string& error) {
        error = what + " near offset " + std::to_string(m_tokenStart);
        return false;
    }
    bool SetError(const char* what) {
        if (m_error.empty()) m_error = what;
        return false;
    }

    // Reads the next token; false at the end of the text or on a lexical error (m_error set).
    bool Next(Token& token) {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) ++m_pos;
        m_tokenStart = m_pos;
        if (m_pos >= m_text.size()) return false;
        const char16_t c = m_text[m_pos];
        token.text.clear();
        const bool braceAlone = m_pos + 1 >= m_text.size() || IsSpace(m_text[m_pos + 1]) ||
                                m_text[m_pos + 1] == u'{' || m_text[m_pos + 1] == u'}';
        if (c == u'}' || (c == u'{' && braceAlone)) {
            token.kind = c == u'{' ? TokenKind::Open : TokenKind::Close;
            ++m_pos;
            return true;
        }
        if (c == u'=') {
            token.kind = TokenKind::Equals;
            ++m_pos;
            return true;
        }
        std::u16string raw;
        if (c == u'\'') {
            token.kind = TokenKind::Quoted;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size()) return SetError("unterminated quoted text");
                if (m_text[m_pos] == u'\'') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\'') {
                        raw.push_back(u'\'');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                raw.push_back(m_text[m_pos++]);
            }
        } else {
            token.kind = TokenKind::Word;
            // A word that opens with '{' (a GUID) may hold braces; any other word ends at one.
            const bool guidLike = c == u'{';
            while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]) && m_text[m_pos] != u'=' &&
                   m_text[m_pos] != u'\'' &&
                   (guidLike || (m_text[m_pos] != u'{' && m_text[m_pos] != u'}')))
                raw.push_back(m_text[m_pos++]);
        }
        return Replace(raw, token.text);
    }

    // Expands %NAME% from the replacement map; %% is a single percent sign.
    bool Replace(const std::u16string& raw, std::u16string& out) {
        out.clear();
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != u'%') {
                out.push_back(raw[i]);
                continue;
            }
            const size_t end = raw.find(u'%', i + 1);
            if (end == std::u16string::npos) return SetError("unterminated replacement");
            if (end == i + 1) {
                out.push_back(u'%');
            } else {
                auto found = m_replacements.find(raw.substr(i + 1, end - i - 1));
                if (found == m_replacements.end()) return SetError("unknown replacement");
                out += found->second;
            }
            i = end;
        }
        return true;
    }

    // Keys and values up to the closing brace of the current block.
    bool ParseBody(RegScriptKey& key, size_t depth) {
        if (depth > kMaxDepth) return SetError("keys nested too deeply");
        Token token;
        for (;;) {
            if (!Next(token)) return SetError("expected '}'");
            if (token.kind == TokenKind::Close) return true;
            if (token.kind == TokenKind::Word && EqualsNoCase(token.text, u"val")) {
                if (!ParseNamedValue(key)) return false;
                continue;
            }
            RegScriptKey subkey;
            if (token.kind == TokenKind::Word) {
                if (EqualsNoCase(token.text, u"ForceRemove"))
                    subkey.flag = RegScriptKeyFlag::ForceRemove;
                else if (EqualsNoCase(token.text, u"NoRemove"))
                    subkey.flag = RegScriptKeyFlag::NoRemove;
                else if (EqualsNoCase(token.text, u"Delete"))
                    subkey.flag = RegScriptKeyFlag::Delete;
                if (subkey.flag != RegScriptKeyFlag::None && !Next(token))
                    return SetError("expected a key name");
            }
            if (token.kind != TokenKind::Word && token.kind != TokenKind::Quoted)
                return SetError("expected a key name");
            if (token.text.empty() || token.text.size() > kMaxKeyNameLength)
                return SetError("bad key name length");
            subkey.name = token.text;
            // What follows the name: '= value', '{ body }', both, or neither.
            size_t mark = m_pos;
            bool more = Next(token);
            if (more && token.kind == TokenKind::Equals) {
                RegScriptValue value;
                if (!ParseValue(value)) return false;
                subkey.defaultValue = std::move(value);
                mark = m_pos;
                more = Next(token);
            }
            if (more && token.kind == TokenKind::Open) {
                if (!ParseBody(subkey, depth + 1)) return false;
            } else {
                if (!m_error.empty()) return false;
                m_pos = mark;  // not ours: the next item's token
            }
            key.subkeys.push_back(std::move(subkey));
        }
    }

    bool ParseNamedValue(RegScriptKey& key) {
        Token token;
        if (!Next(token) || (token.kind != TokenKind::Word && token.kind != TokenKind::Quoted))
            return SetError("expected a value name");
        if (token.text.size() > kMaxValueNameLength) return SetError("value name too long");
        std::u16string name = token.text;
        if (!Next(token) || token.kind != TokenKind::Equals) return SetError("expected '='");
        RegScriptValue value;
        if (!ParseValue(value)) return false;
        for (auto& existing : key.values) {
            if (EqualsNoCase(existing.first, name)) {
                existing.second = std::move(value);
                return true;
            }
        }
        key.values.emplace_back(std::move(name), std::move(value));
        return true;
    }

    // A type letter and its text: s, e, m (strings), d (DWORD), b (hex bytes).
    bool ParseValue(RegScriptValue& value) {
        Token type;
        Token text;
        if (!Next(type) || type.kind != TokenKind::Word || type.text.size() != 1)
            return SetError("expected a value type");
        if (!Next(text) || (text.kind != TokenKind::Word && text.kind != TokenKind::Quoted))
            return SetError("expected a value");
        switch (RegReplacementLess::Fold(type.text[0])) {
            case u'S':
                return StringValue(REG_SZ, text.text, value);
            case u'E':
                return StringValue(REG_EXPAND_SZ, text.text, value);
            case u'M':
                return MultiStringValue(text.text, value);
            case u'D':
                return DwordValue(text.text, value);
            case u'B':
                return BinaryValue(text.text, value);
            default:
                return SetError("unknown value type");
        }
    }

    static void AppendText(std::u16string_view text, std::vector<BYTE>& data) {
        for (char16_t c : text) {
            data.push_back(static_cast<BYTE>(c & 0xFF));
            data.push_back(static_cast<BYTE>(c >> 8));
        }
        data.push_back(0);
        data.push_back(0);
    }
    static bool StringValue(DWORD type, std::u16string_view text, RegScriptValue& value) {
        value.type = type;
        value.data.clear();
        AppendText(text, value.data);
        return true;
    }
    // Strings separated by the two characters \0.
    static bool MultiStringValue(std::u16string_view text, RegScriptValue& value) {
        value.type = REG_MULTI_SZ;
        value.data.clear();
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(u"\\0", start);
            if (end == std::u16string_view::npos) end = text.size();
            if (end > start) AppendText(text.substr(start, end - start), value.data);
            start = end + 2;
        }
        value.data.push_back(0);
        value.data.push_back(0);
        return true;
    }
    // Decimal (with an optional minus sign, kept as its 32-bit two's complement) or 0x hex.
    bool DwordValue(std::u16string_view text, RegScriptValue& value) {
        bool negative = false;
        size_t i = 0;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
        unsigned base = 10;
        if (i + 1 < text.size() && text[i] == u'0' &&
            (text[i + 1] == u'x' || text[i + 1] == u'X')) {
            base = 16;
            i += 2;
        }
        if (i >= text.size()) return SetError("bad DWORD value");
        uint64_t number = 0;
        for (; i < text.size(); ++i) {
            const int digit = DigitValue(text[i]);
            if (digit < 0 || static_cast<unsigned>(digit) >= base)
                return SetError("bad DWORD value");
            number = number * base + static_cast<unsigned>(digit);
            if (number > 0xFFFFFFFFull) return SetError("DWORD value out of range");
        }
        if (negative && number > 0x80000000ull) return SetError("DWORD value out of range");
        const auto dword = static_cast<uint32_t>(negative ? (0x100000000ull - number) : number);
        value.type = REG_DWORD;
        value.data = {static_cast<BYTE>(dword), static_cast<BYTE>(dword >> 8),
                      static_cast<BYTE>(dword >> 16), static_cast<BYTE>(dword >> 24)};
        return true;
    }
    bool BinaryValue(std::u16string_view text, RegScriptValue& value) {
        if (text.size() % 2 != 0) return SetError("odd number of hex digits");
        value.type = REG_BINARY;
        value.data.clear();
        for (size_t i = 0; i < text.size(); i += 2) {
            const int high = DigitValue(text[i]);
            const int low = DigitValue(text[i + 1]);
            if (high < 0 || high > 15 || low < 0 || low > 15) return SetError("bad hex digit");
            value.data.push_back(static_cast<BYTE>(high * 16 + low));
        }
        return true;
    }
    static int DigitValue(char16_t c) {
        if (c >= u'0' && c <= u'9') return c - u'0';
        if (c >= u'a' && c <= u'f') return c - u'a' + 10;
        if (c >= u'A' && c <= u'F') return c - u'A' + 10;
        return -1;
    }

    std::u16string m_text;
    RegReplacementMap m_replacements;
    size_t m_pos = 0;
    size_t m_tokenStart = 0;
    std::string m_error;
};
