// The restrictions a schema rowset reads, taken out of the consumer's VARIANT array.
#pragma once

#include <cstddef>

#include "oledb.h"

// Restriction indexes of the published schema rowsets that the rowsets read.
constexpr ULONG kCatalogRestriction = 0;
constexpr ULONG kCubeRestriction = 2;

// Bit i of a mask stands for restriction index i.
constexpr ULONG RestrictionBit(ULONG index) { return ULONG{1} << index; }

constexpr size_t kRestrictionTextBytes = 2048;

struct RestrictionSet {
    RestrictionSet();

    int cubePresent;
    int catalogPresent;
    int index4Present;
    int index5Present;
    int index8Present;
    char catalog[kRestrictionTextBytes];
    char cube[kRestrictionTextBytes];
    char index4[kRestrictionTextBytes];
    char index5[kRestrictionTextBytes];
    char index8[kRestrictionTextBytes];
    // Indexes whose text did not fit its field: given, but its text left empty. Such a
    // restriction matches nothing, so a rowset that reads one answers no rows.
    ULONG overlong;

    bool AnyOverlong(ULONG readMask) const { return (overlong & readMask) != 0; }
};

// Takes each VT_BSTR entry with a string (an empty one counts as given), as UTF-8; every other
// entry is skipped. Indexes other than 0, 2, 4, 5 and 8 are ignored.
void ParseRestrictionArray(ULONG cRestrictions, const VARIANT* rgRestrictions,
                           RestrictionSet* restrictions);
