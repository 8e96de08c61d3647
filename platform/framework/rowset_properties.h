// Reads a rowset's boolean DBPROPSET_ROWSET properties (hold rows, fetch backwards...) from its
// property object when it has one; an object without properties answers the published default.
#pragma once

#include <type_traits>
#include <utility>

#include "com_runtime.h"
#include "oledb.h"

template <class T, class = void>
struct HasPropValue : std::false_type {};
template <class T>
struct HasPropValue<
    T, std::void_t<decltype(std::declval<T&>().GetPropValue(
           static_cast<const GUID*>(nullptr), DBPROPID{}, static_cast<VARIANT*>(nullptr)))>>
    : std::true_type {};

template <class T>
bool RowsetPropertyIsTrue(T* object, DBPROPID id, bool fallback = false) {
    if constexpr (HasPropValue<T>::value) {
        VARIANT value;
        VariantInit(&value);
        bool result = fallback;
        if (SUCCEEDED(object->GetPropValue(&DBPROPSET_ROWSET, id, &value)) && value.vt == VT_BOOL)
            result = value.boolVal != VARIANT_FALSE;
        VariantClear(&value);
        return result;
    } else {
        (void)object;
        (void)id;
        return fallback;
    }
}
