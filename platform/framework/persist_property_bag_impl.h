// IPersistPropertyBagImpl: loads and saves the data entries of T's property map through a
// property bag, by name. T keeps the requires-save flag (m_bRequiresSave) and its class id.
#pragma once

#include <cstdint>
#include <cstring>

#include "com_guard.h"
#include "com_interfaces.h"
#include "com_runtime.h"
#include "property_map.h"

// How a property map's data member travels in a VARIANT. Types with no such way (VT_LPWSTR,
// VT_LPSTR, interfaces, ...) are not transferred at all.
class PropertyBagMember {
  public:
    static bool Transfers(const ATL_PROPMAP_ENTRY& entry) {
        if (entry.pfnData == nullptr || entry.szDesc == nullptr) return false;
        switch (entry.vt) {
            case VT_I1:
            case VT_UI1:
            case VT_I2:
            case VT_UI2:
            case VT_I4:
            case VT_UI4:
            case VT_I8:
            case VT_UI8:
            case VT_INT:
            case VT_UINT:
            case VT_ERROR:
            case VT_BOOL:
                return IsIntegerSize(entry.dwSizeData);
            case VT_R4:
                return entry.dwSizeData == sizeof(FLOAT);
            case VT_R8:
            case VT_DATE:
                return entry.dwSizeData == sizeof(DOUBLE);
            case VT_BSTR:
                return entry.dwSizeData == sizeof(BSTR);
            case VT_VARIANT:
                return entry.dwSizeData == sizeof(VARIANT);
            default:
                return false;
        }
    }

    // Stores a value already converted to the entry's type into the member; takes over a BSTR.
    static void Store(const ATL_PROPMAP_ENTRY& entry, void* member, VARIANT& value) {
        switch (entry.vt) {
            case VT_BOOL:
                // A VARIANT_BOOL member takes VARIANT_TRUE; bool and BOOL members take 1.
                StoreInteger(member, entry.dwSizeData,
                             value.boolVal == VARIANT_FALSE             ? 0
                             : entry.dwSizeData == sizeof(VARIANT_BOOL) ? VARIANT_TRUE
                                                                        : 1);
                return;
            case VT_R4:
                std::memcpy(member, &value.fltVal, sizeof(FLOAT));
                return;
            case VT_R8:
            case VT_DATE:
                std::memcpy(member, &value.dblVal, sizeof(DOUBLE));
                return;
            case VT_BSTR: {
                BSTR old = nullptr;
                std::memcpy(&old, member, sizeof(BSTR));
                ::SysFreeString(old);
                std::memcpy(member, &value.bstrVal, sizeof(BSTR));
                value.vt = VT_EMPTY;
                return;
            }
            case VT_VARIANT:
                ::VariantCopy(static_cast<VARIANT*>(member), &value);
                return;
            default:
                StoreInteger(member, entry.dwSizeData, IntegerOf(value));
                return;
        }
    }

    // The member as a VARIANT of the entry's type; a BSTR or VARIANT member is lent, not copied.
    static VARIANT Fetch(const ATL_PROPMAP_ENTRY& entry, void* member) {
        VARIANT value;
        ::VariantInit(&value);
        switch (entry.vt) {
            case VT_VARIANT:
                std::memcpy(&value, member, sizeof(VARIANT));
                return value;
            case VT_BOOL:
                value.vt = VT_BOOL;
                value.boolVal = LoadInteger(member, entry.dwSizeData, false) != 0 ? VARIANT_TRUE
                                                                                  : VARIANT_FALSE;
                return value;
            case VT_R4:
                value.vt = VT_R4;
                std::memcpy(&value.fltVal, member, sizeof(FLOAT));
                return value;
            case VT_R8:
            case VT_DATE:
                value.vt = entry.vt;
                std::memcpy(&value.dblVal, member, sizeof(DOUBLE));
                return value;
            case VT_BSTR:
                value.vt = VT_BSTR;
                std::memcpy(&value.bstrVal, member, sizeof(BSTR));
                return value;
            default: {
                bool isSigned = entry.vt == VT_I1 || entry.vt == VT_I2 || entry.vt == VT_I4 ||
                                entry.vt == VT_I8 || entry.vt == VT_INT || entry.vt == VT_ERROR;
                LONGLONG number = LoadInteger(member, entry.dwSizeData, isSigned);
                value.vt = entry.vt;
                switch (entry.vt) {
                    case VT_I1:
                    case VT_UI1:
                        value.bVal = static_cast<BYTE>(number);
                        break;
                    case VT_I2:
                    case VT_UI2:
                        value.iVal = static_cast<SHORT>(number);
                        break;
                    case VT_I8:
                    case VT_UI8:
                        value.llVal = number;
                        break;
                    default:
                        value.lVal = static_cast<LONG>(number);
                        break;
                }
                return value;
            }
        }
    }

  private:
    static bool IsIntegerSize(DWORD size) {
        return size == 1 || size == 2 || size == 4 || size == 8;
    }
    static LONGLONG IntegerOf(const VARIANT& value) {
        switch (value.vt) {
            case VT_I1:
                return static_cast<signed char>(value.bVal);
            case VT_UI1:
                return value.bVal;
            case VT_I2:
                return value.iVal;
            case VT_UI2:
                return value.uiVal;
            case VT_UI4:
            case VT_UINT:
                return value.ulVal;
            case VT_I8:
            case VT_UI8:
                return value.llVal;
            default:
                return value.lVal;
        }
    }
    static void StoreInteger(void* member, DWORD size, LONGLONG number) {
        switch (size) {
            case 1: {
                auto narrow = static_cast<std::uint8_t>(number);
                std::memcpy(member, &narrow, 1);
                return;
            }
            case 2: {
                auto narrow = static_cast<std::uint16_t>(number);
                std::memcpy(member, &narrow, 2);
                return;
            }
            case 4: {
                auto narrow = static_cast<std::uint32_t>(number);
                std::memcpy(member, &narrow, 4);
                return;
            }
            default:
                std::memcpy(member, &number, 8);
                return;
        }
    }
    static LONGLONG LoadInteger(const void* member, DWORD size, bool isSigned) {
        switch (size) {
            case 1: {
                std::uint8_t v = 0;
                std::memcpy(&v, member, 1);
                return isSigned ? static_cast<std::int8_t>(v) : v;
            }
            case 2: {
                std::uint16_t v = 0;
                std::memcpy(&v, member, 2);
                return isSigned ? static_cast<std::int16_t>(v) : v;
            }
            case 4: {
                std::uint32_t v = 0;
                std::memcpy(&v, member, 4);
                return isSigned ? static_cast<std::int32_t>(v) : static_cast<LONGLONG>(v);
            }
            default: {
                LONGLONG v = 0;
                std::memcpy(&v, member, 8);
                return v;
            }
        }
    }
};

template <class T>
class IPersistPropertyBagImpl : public IPersistPropertyBag {
  public:
    STDMETHOD(GetClassID)(CLSID* pClassID) override {
        if (pClassID == nullptr) return E_POINTER;
        *pClassID = T::GetObjectCLSID();
        return S_OK;
    }

    STDMETHOD(InitNew)() override {
        static_cast<T*>(this)->m_bRequiresSave = TRUE;
        return S_OK;
    }

    STDMETHOD(Load)(IPropertyBag* pPropBag, IErrorLog* pErrorLog) override {
        return ComGuard([&]() -> HRESULT {
            return static_cast<T*>(this)->IPersistPropertyBag_Load(pPropBag, pErrorLog,
                                                                   T::GetPropertyMap());
        });
    }

    STDMETHOD(Save)(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) override {
        return ComGuard([&]() -> HRESULT {
            return static_cast<T*>(this)->IPersistPropertyBag_Save(
                pPropBag, fClearDirty, fSaveAllProperties, T::GetPropertyMap());
        });
    }

    // Reads each data entry by name as its type. A property the bag does not hold (any failed
    // read) leaves its member as it was; a value that cannot take the entry's type fails the
    // load with the conversion's error. A complete load clears the requires-save flag.
    HRESULT IPersistPropertyBag_Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog,
                                     const ATL_PROPMAP_ENTRY* pMap) {
        if (pPropBag == nullptr) return E_POINTER;
        T* object = static_cast<T*>(this);
        for (const ATL_PROPMAP_ENTRY* entry = pMap; entry != nullptr && !IsPropMapEnd(*entry);
             ++entry) {
            if (!PropertyBagMember::Transfers(*entry)) continue;
            // The type asks the bag for a conversion; the zeroed value stays safe for a bag
            // that clears it before writing (VariantCopy does).
            VARIANT value;
            std::memset(&value, 0, sizeof(value));
            value.vt = entry->vt == VT_VARIANT ? static_cast<VARTYPE>(VT_EMPTY) : entry->vt;
            HRESULT hr = pPropBag->Read(entry->szDesc, &value, pErrorLog);
            if (FAILED(hr)) {
                ::VariantClear(&value);
                continue;
            }
            if (entry->vt != VT_VARIANT && value.vt != entry->vt) {
                VARIANT converted;
                ::VariantInit(&converted);
                hr = ::VariantChangeType(&converted, &value, 0, entry->vt);
                ::VariantClear(&value);
                if (FAILED(hr)) return hr;
                value = converted;
            }
            PropertyBagMember::Store(*entry, entry->pfnData(object), value);
            ::VariantClear(&value);
        }
        object->m_bRequiresSave = FALSE;
        return S_OK;
    }

    // Writes each data entry by name; the first failing write ends the save with its error.
    HRESULT IPersistPropertyBag_Save(IPropertyBag* pPropBag, BOOL fClearDirty,
                                     BOOL fSaveAllProperties, const ATL_PROPMAP_ENTRY* pMap) {
        static_cast<void>(fSaveAllProperties);
        if (pPropBag == nullptr) return E_POINTER;
        T* object = static_cast<T*>(this);
        for (const ATL_PROPMAP_ENTRY* entry = pMap; entry != nullptr && !IsPropMapEnd(*entry);
             ++entry) {
            if (!PropertyBagMember::Transfers(*entry)) continue;
            VARIANT value = PropertyBagMember::Fetch(*entry, entry->pfnData(object));
            HRESULT hr = pPropBag->Write(entry->szDesc, &value);
            if (FAILED(hr)) return hr;
        }
        if (fClearDirty) object->m_bRequiresSave = FALSE;
        return S_OK;
    }
};
