// Restriction parsing of the schema rowsets.
#include "provider/schema/restriction_set.h"

#include <cstring>
#include <string>
#include <string_view>

#include "utf_text.h"

RestrictionSet::RestrictionSet()
    : cubePresent(0),
      catalogPresent(0),
      index4Present(0),
      index5Present(0),
      index8Present(0),
      overlong(0) {
    catalog[0] = '\0';
    cube[0] = '\0';
    index4[0] = '\0';
    index5[0] = '\0';
    index8[0] = '\0';
}

void ParseRestrictionArray(ULONG cRestrictions, const VARIANT* rgRestrictions,
                           RestrictionSet* restrictions) {
    if (rgRestrictions == nullptr || restrictions == nullptr) return;
    for (ULONG i = 0; i < cRestrictions; ++i) {
        const VARIANT& entry = rgRestrictions[i];
        if (entry.vt != VT_BSTR || entry.bstrVal == nullptr) continue;
        int* present = nullptr;
        char* text = nullptr;
        switch (i) {
            case 0:
                present = &restrictions->catalogPresent, text = restrictions->catalog;
                break;
            case 2:
                present = &restrictions->cubePresent, text = restrictions->cube;
                break;
            case 4:
                present = &restrictions->index4Present, text = restrictions->index4;
                break;
            case 5:
                present = &restrictions->index5Present, text = restrictions->index5;
                break;
            case 8:
                present = &restrictions->index8Present, text = restrictions->index8;
                break;
            default:
                continue;
        }
        // Read as a wide C string, up to its first NUL.
        const std::string narrow = comrt::Utf16ToUtf8(std::u16string_view(entry.bstrVal));
        *present = 1;
        // A text cut to fit would name something else.
        if (narrow.size() >= kRestrictionTextBytes) {
            text[0] = '\0';
            restrictions->overlong |= RestrictionBit(i);
            continue;
        }
        std::memcpy(text, narrow.c_str(), narrow.size() + 1);
    }
}
