// UTF-8 <-> UTF-16 conversion for the REST library boundary.
#include "client/wide_text.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    // Never more units than bytes: size once, write through a pointer, trim at the end.
    std::u16string out(text.size(), u'\0');
    char16_t* target = out.data();
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        unsigned char b = *p;
        if (b < 0x80) {
            *target++ = b;
            ++p;
            continue;
        }
        size_t length;
        char32_t c;
        char32_t minimum;
        if ((b & 0xE0) == 0xC0) {
            length = 2;
            c = b & 0x1F;
            minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            c = b & 0x0F;
            minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            c = b & 0x07;
            minimum = 0x10000;
        } else {
            *target++ = kReplacement;
            ++p;
            continue;
        }
        bool valid = static_cast<size_t>(end - p) >= length;
        for (size_t i = 1; valid && i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                valid = false;
            } else {
                c = (c << 6) | (p[i] & 0x3F);
            }
        }
        if (!valid || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            *target++ = kReplacement;
            ++p;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            *target++ = static_cast<char16_t>(0xD800 + (c >> 10));
            *target++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            *target++ = static_cast<char16_t>(c);
        }
        p += length;
    }
    out.resize(static_cast<size_t>(target - out.data()));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}
