// IDBSchemaRowset for sessions through a schema map: BEGIN_SCHEMA_MAP / SCHEMA_ENTRY /
// END_SCHEMA_MAP list the schema rowsets a session answers, in the order GetSchemas reports them.
#pragma once

#include <cstring>

#include "com_guard.h"
#include "com_runtime.h"
#include "oledb.h"
#include "rowset_creation.h"

using SchemaRowsetCreator = HRESULT (*)(void* session, IUnknown* sessionUnknown,
                                        IUnknown* pUnkOuter, ULONG cRestrictions,
                                        const VARIANT* rgRestrictions, REFIID riid,
                                        ULONG cPropertySets, DBPROPSET* rgPropertySets,
                                        IUnknown** ppRowset);

struct SchemaMapEntry {
    const GUID* pguidSchema;  // null ends the map
    SchemaRowsetCreator pfnCreate;
    ULONG restrictions;  // the restriction-support mask GetSchemas starts from
};

#define BEGIN_SCHEMA_MAP(SchemaClass)               \
  public:                                           \
    using _SchemaClass = SchemaClass;               \
    static const SchemaMapEntry* _SchemaSupport() { \
        static const SchemaMapEntry _schemaEntries[] = {
#define SCHEMA_ENTRY_RESTRICTIONS(guid, RowsetClass, restrictionMask)                       \
    {&(guid),                                                                               \
     [](void* session, IUnknown* sessionUnknown, IUnknown* pUnkOuter, ULONG cRestrictions,  \
        const VARIANT* rgRestrictions, REFIID riid, ULONG cPropertySets,                    \
        DBPROPSET* rgPropertySets, IUnknown** ppRowset) -> HRESULT {                        \
         return CreateSchemaRowsetObject<RowsetClass>(                                      \
             static_cast<_SchemaClass*>(session), sessionUnknown, pUnkOuter, cRestrictions, \
             rgRestrictions, riid, cPropertySets, rgPropertySets, ppRowset);                \
     },                                                                                     \
     restrictionMask},

#define SCHEMA_ENTRY(guid, RowsetClass) SCHEMA_ENTRY_RESTRICTIONS(guid, RowsetClass, 0)

#define END_SCHEMA_MAP()    \
    { nullptr, nullptr, 0 } \
    }                       \
    ;                       \
    return _schemaEntries;  \
    }

template <class T>
class IDBSchemaRowsetImpl : public IDBSchemaRowset {
  public:
    STDMETHOD(GetRowset)
    (IUnknown* pUnkOuter, REFGUID rguidSchema, ULONG cRestrictions, const VARIANT rgRestrictions[],
     REFIID riid, ULONG cPropertySets, DBPROPSET rgPropertySets[], IUnknown** ppRowset) override {
        return ComGuard([&]() -> HRESULT {
            if (ppRowset == nullptr) return E_INVALIDARG;
            *ppRowset = nullptr;
            if (cRestrictions != 0 && rgRestrictions == nullptr) return E_INVALIDARG;
            if (cPropertySets != 0 && rgPropertySets == nullptr) return E_INVALIDARG;
            for (ULONG i = 0; i < cPropertySets; ++i)
                if (rgPropertySets[i].cProperties != 0 && rgPropertySets[i].rgProperties == nullptr)
                    return E_INVALIDARG;
            if (pUnkOuter != nullptr && riid != IID_IUnknown) return DB_E_NOAGGREGATION;
            auto* pT = static_cast<T*>(this);
            const SchemaMapEntry* entry = FindSchema(rguidSchema);
            if (entry == nullptr) return E_INVALIDARG;
            if (!pT->CheckRestrictions(rguidSchema, cRestrictions, rgRestrictions))
                return E_INVALIDARG;
            return entry->pfnCreate(pT, pT->GetUnknown(), pUnkOuter, cRestrictions, rgRestrictions,
                                    riid, cPropertySets, rgPropertySets, ppRowset);
        });
    }

    STDMETHOD(GetSchemas)
    (ULONG* pcSchemas, GUID** prgSchemas, ULONG** prgRestrictionSupport) override {
        return ComGuard([&]() -> HRESULT {
            if (pcSchemas != nullptr) *pcSchemas = 0;
            if (prgSchemas != nullptr) *prgSchemas = nullptr;
            if (prgRestrictionSupport != nullptr) *prgRestrictionSupport = nullptr;
            if (pcSchemas == nullptr || prgSchemas == nullptr || prgRestrictionSupport == nullptr)
                return E_INVALIDARG;
            const SchemaMapEntry* entries = T::_SchemaSupport();
            ULONG count = 0;
            while (entries[count].pguidSchema != nullptr) ++count;
            if (count == 0) return S_OK;
            auto* guids = static_cast<GUID*>(CoTaskMemAlloc(count * sizeof(GUID)));
            auto* masks = static_cast<ULONG*>(CoTaskMemAlloc(count * sizeof(ULONG)));
            if (guids == nullptr || masks == nullptr) {
                CoTaskMemFree(guids);
                CoTaskMemFree(masks);
                return E_OUTOFMEMORY;
            }
            for (ULONG i = 0; i < count; ++i) {
                guids[i] = *entries[i].pguidSchema;
                masks[i] = entries[i].restrictions;
            }
            static_cast<T*>(this)->SetRestrictions(count, guids, masks);
            *pcSchemas = count;
            *prgSchemas = guids;
            *prgRestrictionSupport = masks;
            return S_OK;
        });
    }

    // Hook: a session adjusts the restriction-support masks GetSchemas reports.
    void SetRestrictions(ULONG cSchemas, GUID* rguidSchema, ULONG* rgRestrictions) {
        (void)cSchemas;
        (void)rguidSchema;
        (void)rgRestrictions;
    }

    // Hook: false refuses the consumer's restrictions with E_INVALIDARG; the default takes any.
    bool CheckRestrictions(REFGUID rguidSchema, ULONG cRestrictions,
                           const VARIANT rgRestrictions[]) {
        (void)rguidSchema;
        (void)cRestrictions;
        (void)rgRestrictions;
        return true;
    }

  private:
    static const SchemaMapEntry* FindSchema(REFGUID guid) {
        for (const SchemaMapEntry* entry = T::_SchemaSupport(); entry->pguidSchema != nullptr;
             ++entry)
            if (*entry->pguidSchema == guid) return entry;
        return nullptr;
    }
};
