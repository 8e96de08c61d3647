// IConvertTypeImpl: IConvertType::CanConvert from the conversion table that GetData uses.
#pragma once

#include <type_traits>

#include "com_guard.h"
#include "data_conversion.h"
#include "oledb.h"

// The flag checks of CanConvert, then the table. A rowset has no parameters; ISLONG only goes
// with a variable-length type; FROMVARIANT asks for a type a VARIANT can hold.
inline HRESULT CanConvertAnswer(DBTYPE from, DBTYPE to, DBCONVERTFLAGS flags, bool onRowset) {
    constexpr DBCONVERTFLAGS kKnown = DBCONVERTFLAGS_PARAMETER | DBCONVERTFLAGS_ISLONG |
                                      DBCONVERTFLAGS_ISFIXEDLENGTH | DBCONVERTFLAGS_FROMVARIANT;
    if ((flags & ~kKnown) != 0) return DB_E_BADCONVERTFLAG;
    if (onRowset && (flags & DBCONVERTFLAGS_PARAMETER) != 0) return DB_E_BADCONVERTFLAG;
    const auto fromBase =
        static_cast<DBTYPE>(from & ~(DBTYPE_BYREF | DBTYPE_ARRAY | DBTYPE_VECTOR));
    if ((flags & DBCONVERTFLAGS_ISLONG) != 0 && fromBase != DBTYPE_WSTR && fromBase != DBTYPE_STR &&
        fromBase != DBTYPE_BYTES && fromBase != DBTYPE_VARNUMERIC)
        return DB_E_BADCONVERTFLAG;
    if ((flags & DBCONVERTFLAGS_FROMVARIANT) != 0) {
        const bool variantType =
            (from & (DBTYPE_BYREF | DBTYPE_VECTOR)) == 0 &&
            (fromBase <= DBTYPE_DECIMAL || (fromBase >= DBTYPE_I1 && fromBase <= DBTYPE_UI8)) &&
            fromBase != 15;
        if (!variantType) return DB_E_BADTYPE;
    }
    return CanConvertType(from, to) ? S_OK : S_FALSE;
}

template <class T>
class IConvertTypeImpl : public IConvertType {
  public:
    STDMETHOD(CanConvert)
    (DBTYPE wFromType, DBTYPE wToType, DBCONVERTFLAGS dwConvertFlags) override {
        return ComGuard([&]() -> HRESULT {
            return CanConvertAnswer(wFromType, wToType, dwConvertFlags,
                                    std::is_base_of_v<IRowset, T>);
        });
    }
};
