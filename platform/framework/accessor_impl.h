// IAccessorImpl: accessors of a command or a rowset. A rowset checks bindings against its columns;
// a command does not (published), and hands its accessors to the rowsets it creates.
#pragma once

#include <cstring>
#include <type_traits>

#include "accessor_table.h"
#include "com_guard.h"
#include "com_runtime.h"
#include "rowset_properties.h"

template <class T>
class IAccessorImpl : public IAccessor {
  public:
    STDMETHOD(AddRefAccessor)(HACCESSOR hAccessor, DBREFCOUNT* pcRefCount) override {
        return ComGuard([&]() -> HRESULT {
            AccessorRecord* record = m_accessors.Find(hAccessor);
            if (record == nullptr) return DB_E_BADACCESSORHANDLE;
            const DBREFCOUNT count = record->AddRef();
            if (pcRefCount != nullptr) *pcRefCount = count;
            return S_OK;
        });
    }

    STDMETHOD(CreateAccessor)
    (DBACCESSORFLAGS dwAccessorFlags, DBCOUNTITEM cBindings, const DBBINDING rgBindings[],
     DBLENGTH cbRowSize, HACCESSOR* phAccessor, DBBINDSTATUS rgStatus[]) override {
        return ComGuard([&]() -> HRESULT {
            if (phAccessor == nullptr) return E_INVALIDARG;
            *phAccessor = DB_NULL_HACCESSOR;
            if (cBindings != 0 && rgBindings == nullptr) return E_INVALIDARG;
            return CreateAccessorRecord(dwAccessorFlags, cBindings, rgBindings, cbRowSize,
                                        phAccessor, rgStatus);
        });
    }

    STDMETHOD(GetBindings)
    (HACCESSOR hAccessor, DBACCESSORFLAGS* pdwAccessorFlags, DBCOUNTITEM* pcBindings,
     DBBINDING** prgBindings) override {
        return ComGuard([&]() -> HRESULT {
            if (pdwAccessorFlags != nullptr) *pdwAccessorFlags = DBACCESSOR_INVALID;
            if (pcBindings != nullptr) *pcBindings = 0;
            if (prgBindings != nullptr) *prgBindings = nullptr;
            if (pdwAccessorFlags == nullptr || pcBindings == nullptr || prgBindings == nullptr)
                return E_INVALIDARG;
            const AccessorRecord* record = m_accessors.Find(hAccessor);
            if (record == nullptr) return DB_E_BADACCESSORHANDLE;
            const HRESULT hr = CopyBindingsOut(record->Bindings(), prgBindings);
            if (FAILED(hr)) return hr;
            *pdwAccessorFlags = record->Flags();
            *pcBindings = record->Bindings().size();
            return S_OK;
        });
    }

    STDMETHOD(ReleaseAccessor)(HACCESSOR hAccessor, DBREFCOUNT* pcRefCount) override {
        return ComGuard([&]() -> HRESULT {
            if (m_accessors.Find(hAccessor) == nullptr) return DB_E_BADACCESSORHANDLE;
            const DBREFCOUNT left = m_accessors.Release(hAccessor);
            if (pcRefCount != nullptr) *pcRefCount = left;
            return S_OK;
        });
    }

    // The accessor behind a handle, or null for a handle this object does not hold.
    const AccessorRecord* FindAccessor(HACCESSOR hAccessor) const {
        return m_accessors.Find(hAccessor);
    }
    const AccessorTable& Accessors() const { return m_accessors; }
    // Used by the rowset creation: the rowset takes copies of its creator's accessors.
    template <class Creator>
    void InheritAccessors(const IAccessorImpl<Creator>& creator) {
        m_accessors.InheritFrom(creator.Accessors());
    }

  private:
    static constexpr bool kOnRowset = std::is_base_of_v<IRowset, T>;

    HRESULT CreateAccessorRecord(DBACCESSORFLAGS flags, DBCOUNTITEM cBindings,
                                 const DBBINDING* bindings, DBLENGTH cbRowSize,
                                 HACCESSOR* phAccessor, DBBINDSTATUS* rgStatus) {
        const HRESULT flagCheck = ValidateAccessorFlags(flags, cBindings, kOnRowset);
        if (FAILED(flagCheck)) return flagCheck;
        AccessorContext context{kOnRowset, nullptr, 0, false};
        if constexpr (kOnRowset) {
            T* object = static_cast<T*>(this);
            context.columns = T::GetColumnInfo(object, &context.columnCount);
            context.bookmarks = RowsetPropertyIsTrue(object, DBPROP_BOOKMARKS);
        }
        bool failed = false;
        for (DBCOUNTITEM i = 0; i < cBindings; ++i) {
            const DBBINDSTATUS status = ValidateBinding(bindings[i], flags, context);
            if (rgStatus != nullptr) rgStatus[i] = status;
            failed = failed || status != DBBINDSTATUS_OK;
        }
        if (failed) return DB_E_ERRORSOCCURRED;
        *phAccessor = m_accessors.Add(AccessorRecord(flags, bindings, cBindings, cbRowSize));
        return S_OK;
    }

    // One task-allocator block for the array, one for each DBOBJECT, as the consumer frees them.
    static HRESULT CopyBindingsOut(const std::vector<DBBINDING>& bindings, DBBINDING** out) {
        if (bindings.empty()) return S_OK;
        auto* copy = static_cast<DBBINDING*>(CoTaskMemAlloc(bindings.size() * sizeof(DBBINDING)));
        if (copy == nullptr) return E_OUTOFMEMORY;
        std::memcpy(copy, bindings.data(), bindings.size() * sizeof(DBBINDING));
        for (size_t i = 0; i < bindings.size(); ++i) {
            if (bindings[i].pObject == nullptr) continue;
            copy[i].pObject = static_cast<DBOBJECT*>(CoTaskMemAlloc(sizeof(DBOBJECT)));
            if (copy[i].pObject == nullptr) {
                for (size_t j = 0; j < i; ++j)
                    if (bindings[j].pObject != nullptr) CoTaskMemFree(copy[j].pObject);
                CoTaskMemFree(copy);
                return E_OUTOFMEMORY;
            }
            *copy[i].pObject = *bindings[i].pObject;
        }
        *out = copy;
        return S_OK;
    }

    AccessorTable m_accessors;
};
