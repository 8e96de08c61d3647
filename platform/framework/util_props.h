// Property sets of framework objects: the property-set map macros, CUtlProps (an object's current
// property values) and the published GetProperties / SetProperties / GetPropertyInfo logic that
// the property interfaces hand their calls to.
#pragma once

#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "com_runtime.h"
#include "module_resources.h"
#include "oledb.h"
#include "property_defaults.h"
#include "this_module.h"

struct UPROPINFO {
    DBPROPID dwPropId;
    LPCOLESTR pwszDesc;  // null: the resource string idsDesc, else the known description
    UINT idsDesc;
    VARTYPE vtType;
    DBPROPFLAGS dwFlags;
    PropDefault value;
    DBPROPOPTIONS dwOption;
};

struct UPROPSET {
    GUID guid;
    std::vector<UPROPINFO> props;
    bool chained;  // declared by another class and listed here through CHAIN_PROPERTY_SET
};

using PropSetMap = std::vector<UPROPSET>;

// Collects a class's property-set map; used only by the map macros.
class PropSetMapBuilder {
  public:
    void BeginSet(const GUID& guid) { m_sets.push_back(UPROPSET{guid, {}, false}); }
    void EndSet() {}
    void Add(DBPROPID id, LPCOLESTR description, UINT resourceId, VARTYPE vt, DBPROPFLAGS flags,
             PropDefault value, DBPROPOPTIONS options) {
        if (m_sets.empty()) BeginSet(GUID_NULL);
        m_sets.back().props.push_back(
            UPROPINFO{id, description, resourceId, vt, flags, value, options});
    }
    void AddKnown(const KnownPropertyInfo& known) {
        Add(known.id, known.description, 0, known.vt, known.flags, known.value,
            DBPROPOPTIONS_REQUIRED);
    }
    void AddKnown(const KnownPropertyInfo& known, PropDefault value) {
        Add(known.id, known.description, 0, known.vt, known.flags, value, DBPROPOPTIONS_REQUIRED);
    }
    void Chain(const PropSetMap& other) {
        for (const UPROPSET& set : other) {
            m_sets.push_back(set);
            m_sets.back().chained = true;
        }
    }
    PropSetMap Take() { return std::move(m_sets); }

  private:
    PropSetMap m_sets;
};

#define BEGIN_PROPSET_MAP(Class)                \
  public:                                       \
    static const PropSetMap& _GetPropSetMap() { \
        static const PropSetMap _propSetMap = [] {              \
            PropSetMapBuilder _builder;
#define BEGIN_PROPERTY_SET(guid) _builder.BeginSet(guid);
#define BEGIN_PROPERTY_SET_EX(guid, flags) _builder.BeginSet(guid);
// A property the framework knows: its description, type, access flags and default.
#define PROPERTY_INFO_ENTRY(name) _builder.AddKnown(KnownProperty<DBPROP_##name>());
#define PROPERTY_INFO_ENTRY_VALUE(name, value) \
    _builder.AddKnown(KnownProperty<DBPROP_##name>(), value);
// The same for a property named by its id (the OLAP MDPROP_* ids among them).
#define PROPERTY_INFO_ENTRY_ID(id) _builder.AddKnown(KnownProperty<id>());
#define PROPERTY_INFO_ENTRY_ID_VALUE(id, value) _builder.AddKnown(KnownProperty<id>(), value);
// DBPROP_<name> with the given type, flags, default and options; the known description.
#define PROPERTY_INFO_ENTRY_EX(name, vt, flags, value, options) \
    _builder.Add(DBPROP_##name, nullptr, 0, vt, flags, value, options);
// Any property id with its own description text (null: the known description).
#define PROPERTY_INFO_ENTRY_DESC(id, description, vt, flags, value, options) \
    _builder.Add(id, description, 0, vt, flags, value, options);
// Any property id whose description is a string of the module's string table.
#define PROPERTY_INFO_ENTRY_RES(id, resourceId, vt, flags, value, options) \
    _builder.Add(id, nullptr, resourceId, vt, flags, value, options);
#define END_PROPERTY_SET(guid) _builder.EndSet();
#define CHAIN_PROPERTY_SET(ChainClass) _builder.Chain(ChainClass::_GetPropSetMap());
#define END_PROPSET_MAP()   \
    return _builder.Take(); \
    }                       \
    ();                     \
    return _propSetMap;     \
    }

namespace util_props_detail {

// A VARIANT that clears itself.
class OwnedVariant {
  public:
    OwnedVariant() { VariantInit(&m_value); }
    OwnedVariant(const OwnedVariant& other) {
        VariantInit(&m_value);
        if (FAILED(Assign(other.m_value))) throw std::bad_alloc();
    }
    OwnedVariant& operator=(const OwnedVariant& other) {
        if (this != &other && FAILED(Assign(other.m_value))) throw std::bad_alloc();
        return *this;
    }
    ~OwnedVariant() { VariantClear(&m_value); }

    HRESULT Assign(const VARIANT& source) { return VariantCopy(&m_value, &source); }
    const VARIANT& Get() const { return m_value; }
    VARIANT& Get() { return m_value; }

  private:
    VARIANT m_value;
};

inline void DefaultVariant(const UPROPINFO& info, VARIANT& out) {
    VariantInit(&out);
    const LONGLONG number = info.value.number;
    switch (info.vtType) {
        case VT_BOOL:
            out.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VT_I2:
            out.iVal = static_cast<SHORT>(number);
            break;
        case VT_UI2:
            out.uiVal = static_cast<USHORT>(number);
            break;
        case VT_I4:
            out.lVal = static_cast<LONG>(number);
            break;
        case VT_UI4:
            out.ulVal = static_cast<ULONG>(number);
            break;
        case VT_I8:
            out.llVal = number;
            break;
        case VT_UI8:
            out.ullVal = static_cast<ULONGLONG>(number);
            break;
        case VT_R8:
            out.dblVal = static_cast<double>(number);
            break;
        case VT_BSTR:
            out.bstrVal = SysAllocString(info.value.text != nullptr ? info.value.text : u"");
            if (out.bstrVal == nullptr) throw std::bad_alloc();
            break;
        default:
            return;
    }
    out.vt = info.vtType;
}

inline bool BstrEqual(BSTR a, BSTR b) {
    const UINT lengthA = a == nullptr ? 0 : SysStringLen(a);
    const UINT lengthB = b == nullptr ? 0 : SysStringLen(b);
    return lengthA == lengthB &&
           (lengthA == 0 || std::memcmp(a, b, lengthA * sizeof(OLECHAR)) == 0);
}

inline bool VariantsEqual(const VARIANT& a, const VARIANT& b) {
    if (a.vt != b.vt) return false;
    switch (a.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return true;
        case VT_BOOL:
            return (a.boolVal != VARIANT_FALSE) == (b.boolVal != VARIANT_FALSE);
        case VT_I1:
        case VT_UI1:
            return a.bVal == b.bVal;
        case VT_I2:
        case VT_UI2:
            return a.iVal == b.iVal;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
            return a.lVal == b.lVal;
        case VT_I8:
        case VT_UI8:
            return a.llVal == b.llVal;
        case VT_R4:
            return a.fltVal == b.fltVal;
        case VT_R8:
        case VT_DATE:
            return a.dblVal == b.dblVal;
        case VT_BSTR:
            return BstrEqual(a.bstrVal, b.bstrVal);
        default:
            return false;
    }
}

// How an interface method sees one set of the map.
enum class SetAccess { kHidden, kReadOnly, kWritable };

inline bool IsInitSet(const UPROPSET& set) {
    return set.guid == DBPROPSET_DBINIT ||
           (!set.props.empty() && (set.props.front().dwFlags & DBPROPFLAGS_DBINIT) != 0);
}

// The group sets of GetPropertyInfo ("all properties of a group") and what belongs to each.
struct GroupSet {
    const GUID* group;
    const GUID* set;
    DBPROPFLAGS flag;
};
inline constexpr GroupSet kGroupSets[] = {
    {&DBPROPSET_DBINITALL, &DBPROPSET_DBINIT, DBPROPFLAGS_DBINIT},
    {&DBPROPSET_DATASOURCEALL, &DBPROPSET_DATASOURCE, DBPROPFLAGS_DATASOURCE},
    {&DBPROPSET_DATASOURCEINFOALL, &DBPROPSET_DATASOURCEINFO, DBPROPFLAGS_DATASOURCEINFO},
    {&DBPROPSET_SESSIONALL, &DBPROPSET_SESSION, DBPROPFLAGS_SESSION},
    {&DBPROPSET_ROWSETALL, &DBPROPSET_ROWSET, DBPROPFLAGS_ROWSET},
};

inline const GroupSet* FindGroupSet(const GUID& guid) {
    for (const GroupSet& group : kGroupSets)
        if (*group.group == guid) return &group;
    return nullptr;
}

inline bool SetBelongsToGroup(const UPROPSET& set, const GroupSet& group) {
    if (set.guid == *group.set) return true;
    for (const UPROPINFO& info : set.props)
        if (info.dwFlags & group.flag) return true;
    return false;
}

// Memory for the consumer: freed unless released.
template <class T>
class TaskMemArray {
  public:
    TaskMemArray() = default;
    TaskMemArray(const TaskMemArray&) = delete;
    TaskMemArray& operator=(const TaskMemArray&) = delete;
    ~TaskMemArray() { CoTaskMemFree(m_items); }

    void Allocate(size_t count) {
        if (count == 0) return;
        m_items = static_cast<T*>(CoTaskMemAlloc(count * sizeof(T)));
        if (m_items == nullptr) throw std::bad_alloc();
        std::memset(static_cast<void*>(m_items), 0, count * sizeof(T));
    }
    T* Get() const { return m_items; }
    T* Release() { return std::exchange(m_items, nullptr); }

  private:
    T* m_items = nullptr;
};

// One DBPROPSET of a GetProperties answer while it is built.
struct PropSetAnswer {
    GUID guid;
    std::vector<DBPROP> props;  // vValue owned until handed over
};

// Frees the VARIANTs of an answer that is not handed over.
class PropSetAnswerList {
  public:
    PropSetAnswerList() = default;
    PropSetAnswerList(const PropSetAnswerList&) = delete;
    PropSetAnswerList& operator=(const PropSetAnswerList&) = delete;
    ~PropSetAnswerList() {
        for (PropSetAnswer& set : sets)
            for (DBPROP& prop : set.props) VariantClear(&prop.vValue);
    }
    std::vector<PropSetAnswer> sets;
};

inline DBPROP MakeProp(DBPROPID id, DBPROPSTATUS status, DBPROPOPTIONS options) {
    DBPROP prop{};
    prop.dwPropertyID = id;
    prop.dwOptions = options;
    prop.dwStatus = status;
    prop.colid = DB_NULLID;
    VariantInit(&prop.vValue);
    return prop;
}

}  // namespace util_props_detail

// Current property values of an object, for the sets of a property-set map. The published
// semantics of the property interfaces are implemented here; the interfaces choose which sets
// they see and how.
class CUtlPropsBase {
  public:
    using SetAccess = util_props_detail::SetAccess;

    CUtlPropsBase() = default;
    CUtlPropsBase(const CUtlPropsBase&) = delete;
    CUtlPropsBase& operator=(const CUtlPropsBase&) = delete;
    virtual ~CUtlPropsBase() = default;

    ULONG GetCountOfPropertySets() const { return m_map == nullptr ? 0 : ULONG(m_map->size()); }
    const UPROPSET& GetPropertySet(ULONG iSet) const { return (*m_map)[iSet]; }

    // Returns S_OK when the value is acceptable for the property, S_FALSE when it is not.
    virtual HRESULT IsValidValue(ULONG iCurSet, DBPROP* pDBProp) {
        const VARIANT& value = pDBProp->vValue;
        if (value.vt == VT_BOOL && value.boolVal != VARIANT_TRUE && value.boolVal != VARIANT_FALSE)
            return S_FALSE;
        if (GetPropertySet(iCurSet).guid == DBPROPSET_DBINIT &&
            pDBProp->dwPropertyID == DBPROP_INIT_PROMPT && value.vt == VT_I2 &&
            (value.iVal < DBPROMPT_PROMPT || value.iVal > DBPROMPT_NOPROMPT))
            return S_FALSE;
        return S_OK;
    }

    // True when the new value contradicts another current value of the object.
    virtual bool IsConflicting(ULONG iCurSet, const DBPROP& prop) {
        // A rowset that offers IRowsetLocate needs bookmarks.
        if (GetPropertySet(iCurSet).guid == DBPROPSET_ROWSET &&
            prop.dwPropertyID == DBPROP_BOOKMARKS && prop.vValue.vt == VT_BOOL &&
            prop.vValue.boolVal == VARIANT_FALSE) {
            const util_props_detail::OwnedVariant* locate =
                FindValue(iCurSet, DBPROP_IRowsetLocate);
            return locate != nullptr && locate->Get().vt == VT_BOOL &&
                   locate->Get().boolVal != VARIANT_FALSE;
        }
        return false;
    }

    // Called after a value was set; keeps dependent properties consistent.
    virtual HRESULT OnPropertyChanged(ULONG iCurSet, DBPROP* pDBProp) {
        if (GetPropertySet(iCurSet).guid == DBPROPSET_ROWSET &&
            pDBProp->dwPropertyID == DBPROP_IRowsetLocate && pDBProp->vValue.vt == VT_BOOL &&
            pDBProp->vValue.boolVal != VARIANT_FALSE) {
            VARIANT on;
            VariantInit(&on);
            on.vt = VT_BOOL;
            on.boolVal = VARIANT_TRUE;
            SetValue(iCurSet, DBPROP_BOOKMARKS, on);
        }
        return S_OK;
    }

    // Marks a property whose setting made Initialize or Execute fail; reported through
    // DBPROPSET_PROPERTIESINERROR until ClearPropertiesInError.
    void SetPropertyInError(const GUID& guidSet, DBPROPID id) {
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s) {
            if (GetPropertySet(s).guid != guidSet) continue;
            for (size_t p = 0; p < m_values[s].size(); ++p)
                if (GetPropertySet(s).props[p].dwPropId == id) m_values[s][p].inError = true;
        }
    }
    void ClearPropertiesInError() {
        for (auto& set : m_values)
            for (Slot& slot : set) slot.inError = false;
    }

    HRESULT GetPropValue(const GUID* pguidPropSet, DBPROPID dwPropId, VARIANT* pvValue) {
        if (pguidPropSet == nullptr || pvValue == nullptr) return E_INVALIDARG;
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s) {
            if (GetPropertySet(s).guid != *pguidPropSet) continue;
            if (const util_props_detail::OwnedVariant* value = FindValue(s, dwPropId))
                return VariantCopy(pvValue, &value->Get());
        }
        return E_FAIL;
    }

    HRESULT SetPropValue(const GUID* pguidPropSet, DBPROPID dwPropId, VARIANT* pvValue) {
        if (pguidPropSet == nullptr || pvValue == nullptr) return E_INVALIDARG;
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s) {
            if (GetPropertySet(s).guid != *pguidPropSet) continue;
            const UPROPINFO* info = FindInfo(s, dwPropId);
            if (info == nullptr) continue;
            if (pvValue->vt != info->vtType && pvValue->vt != VT_EMPTY) return E_INVALIDARG;
            return SetValue(s, dwPropId, *pvValue);
        }
        return E_FAIL;
    }

    // IDBProperties / ISessionProperties / ICommandProperties / IRowsetInfo::GetProperties.
    HRESULT GetPropertiesFor(const std::vector<SetAccess>& access, bool allowInError,
                             ULONG cPropertyIDSets, const DBPROPIDSET rgPropertyIDSets[],
                             ULONG* pcPropertySets, DBPROPSET** prgPropertySets);
    // IDBProperties / ISessionProperties / ICommandProperties::SetProperties.
    HRESULT SetPropertiesFor(const std::vector<SetAccess>& access, ULONG cPropertySets,
                             DBPROPSET rgPropertySets[]);
    // IDBProperties::GetPropertyInfo; hidden sets are not reported.
    HRESULT GetPropertyInfoFor(const std::vector<SetAccess>& access, ULONG cPropertyIDSets,
                               const DBPROPIDSET rgPropertyIDSets[], ULONG* pcPropertyInfoSets,
                               DBPROPINFOSET** prgPropertyInfoSets, OLECHAR** ppDescBuffer);

    // Every own set with one access; chained sets hidden.
    std::vector<SetAccess> OwnSetsAccess(SetAccess own) const {
        std::vector<SetAccess> access;
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s)
            access.push_back(GetPropertySet(s).chained ? SetAccess::kHidden : own);
        return access;
    }

  protected:
    struct Slot {
        util_props_detail::OwnedVariant value;
        DBPROPOPTIONS options = DBPROPOPTIONS_REQUIRED;
        bool inError = false;
    };

    // Sets defaults for every property of the map, or copies another object's values.
    HRESULT InitFromMap(const PropSetMap& map, const CUtlPropsBase* copy) {
        try {
            std::vector<std::vector<Slot>> values(map.size());
            for (size_t s = 0; s < map.size(); ++s) {
                values[s].resize(map[s].props.size());
                for (size_t p = 0; p < map[s].props.size(); ++p) {
                    Slot& slot = values[s][p];
                    slot.options = map[s].props[p].dwOption;
                    const Slot* source =
                        copy != nullptr && copy->m_map == &map ? &copy->m_values[s][p] : nullptr;
                    if (source != nullptr) {
                        slot = *source;
                    } else {
                        util_props_detail::DefaultVariant(map[s].props[p], slot.value.Get());
                    }
                }
            }
            m_values = std::move(values);
            m_map = &map;
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    const UPROPINFO* FindInfo(ULONG iSet, DBPROPID id) const {
        for (const UPROPINFO& info : GetPropertySet(iSet).props)
            if (info.dwPropId == id) return &info;
        return nullptr;
    }
    Slot* FindSlot(ULONG iSet, DBPROPID id) {
        const auto& props = GetPropertySet(iSet).props;
        for (size_t p = 0; p < props.size(); ++p)
            if (props[p].dwPropId == id) return &m_values[iSet][p];
        return nullptr;
    }
    const util_props_detail::OwnedVariant* FindValue(ULONG iSet, DBPROPID id) {
        Slot* slot = FindSlot(iSet, id);
        return slot == nullptr ? nullptr : &slot->value;
    }
    // VT_EMPTY restores the default.
    HRESULT SetValue(ULONG iSet, DBPROPID id, const VARIANT& value) {
        Slot* slot = FindSlot(iSet, id);
        const UPROPINFO* info = FindInfo(iSet, id);
        if (slot == nullptr || info == nullptr) return E_FAIL;
        if (value.vt != VT_EMPTY) return slot->value.Assign(value);
        util_props_detail::OwnedVariant fresh;
        util_props_detail::DefaultVariant(*info, fresh.Get());
        return slot->value.Assign(fresh.Get());
    }

    // The first set with this GUID that the method sees.
    ULONG FindVisibleSet(const std::vector<SetAccess>& access, const GUID& guid) const {
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s)
            if (access[s] != SetAccess::kHidden && GetPropertySet(s).guid == guid) return s;
        return ULONG(-1);
    }

    static std::u16string Description(const UPROPINFO& info) {
        if (info.pwszDesc != nullptr) return info.pwszDesc;
        if (info.idsDesc != 0) {
            OLECHAR buffer[512] = {};
            const int length = LoadStringW(GetThisModuleInstance(), info.idsDesc, buffer, 512);
            if (length > 0) return std::u16string(buffer, static_cast<size_t>(length));
        }
        const int known = FindKnownProperty(info.dwPropId);
        return known >= 0 ? std::u16string(kKnownProperties[known].description) : u"";
    }

    DBPROPSTATUS SetOne(const std::vector<SetAccess>& access, const GUID& guid, DBPROP& prop);
    void AddPropertiesInError(util_props_detail::PropSetAnswerList& answer);

    const PropSetMap* m_map = nullptr;
    std::vector<std::vector<Slot>> m_values;
};

// CUtlProps<T>: the values of the sets in T's property-set map. T only provides the map; an
// object derives from CUtlProps<T> for its own class or for the class that created it.
template <class T>
class CUtlProps : public CUtlPropsBase {
  public:
    // Defaults, or a copy of another object's current values.
    HRESULT FInit(CUtlProps<T>* pCopyProps = nullptr) {
        try {
            const PropSetMap& map = T::_GetPropSetMap();
            if (pCopyProps != nullptr) {
                const HRESULT hr = pCopyProps->EnsureInit();
                if (FAILED(hr)) return hr;
            }
            return InitFromMap(map, pCopyProps);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
    }

    // The values start at their defaults on first use when FInit was not called.
    HRESULT EnsureInit() { return m_map != nullptr ? S_OK : FInit(); }

    HRESULT GetPropValue(const GUID* pguidPropSet, DBPROPID dwPropId, VARIANT* pvValue) {
        const HRESULT hr = EnsureInit();
        return FAILED(hr) ? hr : CUtlPropsBase::GetPropValue(pguidPropSet, dwPropId, pvValue);
    }
    HRESULT SetPropValue(const GUID* pguidPropSet, DBPROPID dwPropId, VARIANT* pvValue) {
        try {
            const HRESULT hr = EnsureInit();
            return FAILED(hr) ? hr : CUtlPropsBase::SetPropValue(pguidPropSet, dwPropId, pvValue);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
};

inline void CUtlPropsBase::AddPropertiesInError(util_props_detail::PropSetAnswerList& answer) {
    for (ULONG s = 0; s < GetCountOfPropertySets(); ++s) {
        util_props_detail::PropSetAnswer set{GetPropertySet(s).guid, {}};
        for (size_t p = 0; p < m_values[s].size(); ++p) {
            const Slot& slot = m_values[s][p];
            if (!slot.inError) continue;
            set.props.push_back(util_props_detail::MakeProp(GetPropertySet(s).props[p].dwPropId,
                                                            DBPROPSTATUS_OK, slot.options));
            if (FAILED(VariantCopy(&set.props.back().vValue, &slot.value.Get())))
                throw std::bad_alloc();
        }
        if (!set.props.empty()) answer.sets.push_back(std::move(set));
    }
}

inline HRESULT CUtlPropsBase::GetPropertiesFor(const std::vector<SetAccess>& access,
                                               bool allowInError, ULONG cPropertyIDSets,
                                               const DBPROPIDSET rgPropertyIDSets[],
                                               ULONG* pcPropertySets, DBPROPSET** prgPropertySets) {
    using namespace util_props_detail;
    if (pcPropertySets != nullptr) *pcPropertySets = 0;
    if (prgPropertySets != nullptr) *prgPropertySets = nullptr;
    if ((cPropertyIDSets != 0 && rgPropertyIDSets == nullptr) || pcPropertySets == nullptr ||
        prgPropertySets == nullptr)
        return E_INVALIDARG;
    bool askedInError = false;
    for (ULONG i = 0; i < cPropertyIDSets; ++i) {
        const DBPROPIDSET& idSet = rgPropertyIDSets[i];
        if (idSet.cPropertyIDs != 0 && idSet.rgPropertyIDs == nullptr) return E_INVALIDARG;
        if (allowInError && idSet.guidPropertySet == DBPROPSET_PROPERTIESINERROR) {
            // Asked alone and for all its properties, or not at all.
            if (cPropertyIDSets != 1 || idSet.cPropertyIDs != 0) return E_INVALIDARG;
            askedInError = true;
        }
    }

    PropSetAnswerList answer;
    size_t okCount = 0;
    size_t errorCount = 0;
    if (askedInError) {
        AddPropertiesInError(answer);
    } else if (cPropertyIDSets == 0) {
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s) {
            if (access[s] == SetAccess::kHidden) continue;
            PropSetAnswer set{GetPropertySet(s).guid, {}};
            for (size_t p = 0; p < m_values[s].size(); ++p) {
                const Slot& slot = m_values[s][p];
                if (slot.value.Get().vt == VT_EMPTY) continue;
                set.props.push_back(
                    MakeProp(GetPropertySet(s).props[p].dwPropId, DBPROPSTATUS_OK, slot.options));
                if (FAILED(VariantCopy(&set.props.back().vValue, &slot.value.Get())))
                    throw std::bad_alloc();
                ++okCount;
            }
            answer.sets.push_back(std::move(set));
        }
    } else {
        for (ULONG i = 0; i < cPropertyIDSets; ++i) {
            const DBPROPIDSET& idSet = rgPropertyIDSets[i];
            const ULONG s = FindVisibleSet(access, idSet.guidPropertySet);
            PropSetAnswer set{idSet.guidPropertySet, {}};
            if (idSet.cPropertyIDs == 0) {
                if (s == ULONG(-1)) {
                    ++errorCount;
                } else {
                    for (size_t p = 0; p < m_values[s].size(); ++p) {
                        set.props.push_back(MakeProp(GetPropertySet(s).props[p].dwPropId,
                                                     DBPROPSTATUS_OK, m_values[s][p].options));
                        if (FAILED(
                                VariantCopy(&set.props.back().vValue, &m_values[s][p].value.Get())))
                            throw std::bad_alloc();
                        ++okCount;
                    }
                }
            }
            for (ULONG k = 0; k < idSet.cPropertyIDs; ++k) {
                const DBPROPID id = idSet.rgPropertyIDs[k];
                Slot* slot = s == ULONG(-1) ? nullptr : FindSlot(s, id);
                if (slot == nullptr) {
                    set.props.push_back(
                        MakeProp(id, DBPROPSTATUS_NOTSUPPORTED, DBPROPOPTIONS_REQUIRED));
                    ++errorCount;
                    continue;
                }
                set.props.push_back(MakeProp(id, DBPROPSTATUS_OK, slot->options));
                if (FAILED(VariantCopy(&set.props.back().vValue, &slot->value.Get())))
                    throw std::bad_alloc();
                ++okCount;
            }
            answer.sets.push_back(std::move(set));
        }
    }

    // Hand over: the consumer frees each rgProperties, then the array, and clears the values.
    TaskMemArray<DBPROPSET> sets;
    sets.Allocate(answer.sets.size());
    std::vector<DBPROP*> arrays(answer.sets.size(), nullptr);
    for (size_t i = 0; i < answer.sets.size(); ++i) {
        if (answer.sets[i].props.empty()) continue;
        arrays[i] =
            static_cast<DBPROP*>(CoTaskMemAlloc(answer.sets[i].props.size() * sizeof(DBPROP)));
        if (arrays[i] == nullptr) {
            for (DBPROP* array : arrays) CoTaskMemFree(array);
            throw std::bad_alloc();
        }
    }
    for (size_t i = 0; i < answer.sets.size(); ++i) {
        PropSetAnswer& set = answer.sets[i];
        if (!set.props.empty())
            std::memcpy(static_cast<void*>(arrays[i]), set.props.data(),
                        set.props.size() * sizeof(DBPROP));
        sets.Get()[i].rgProperties = arrays[i];
        sets.Get()[i].cProperties = static_cast<ULONG>(set.props.size());
        sets.Get()[i].guidPropertySet = set.guid;
        set.props.clear();  // the VARIANTs now belong to the consumer's arrays
    }
    *pcPropertySets = static_cast<ULONG>(answer.sets.size());
    *prgPropertySets = sets.Release();
    if (errorCount == 0) return S_OK;
    return okCount == 0 ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}

inline DBPROPSTATUS CUtlPropsBase::SetOne(const std::vector<SetAccess>& access, const GUID& guid,
                                          DBPROP& prop) {
    using namespace util_props_detail;
    const ULONG s = FindVisibleSet(access, guid);
    if (s == ULONG(-1)) return DBPROPSTATUS_NOTSUPPORTED;
    const UPROPINFO* info = FindInfo(s, prop.dwPropertyID);
    Slot* slot = FindSlot(s, prop.dwPropertyID);
    if (info == nullptr || slot == nullptr) return DBPROPSTATUS_NOTSUPPORTED;
    if (prop.dwOptions != DBPROPOPTIONS_REQUIRED && prop.dwOptions != DBPROPOPTIONS_OPTIONAL)
        return DBPROPSTATUS_BADOPTION;
    const bool optional = prop.dwOptions == DBPROPOPTIONS_OPTIONAL;
    const bool writable = access[s] == SetAccess::kWritable && (info->dwFlags & DBPROPFLAGS_WRITE);
    if (!writable) {
        // A read-only property may be "set" to the value it has.
        OwnedVariant wanted;
        if (prop.vValue.vt == VT_EMPTY)
            DefaultVariant(*info, wanted.Get());
        else if (FAILED(wanted.Assign(prop.vValue)))
            return DBPROPSTATUS_BADVALUE;
        if (VariantsEqual(wanted.Get(), slot->value.Get())) return DBPROPSTATUS_OK;
        return optional ? DBPROPSTATUS_NOTSET : DBPROPSTATUS_NOTSETTABLE;
    }
    if (prop.vValue.vt != VT_EMPTY &&
        (prop.vValue.vt != info->vtType || IsValidValue(s, &prop) != S_OK))
        return DBPROPSTATUS_BADVALUE;
    if (prop.vValue.vt != VT_EMPTY && IsConflicting(s, prop))
        return optional ? DBPROPSTATUS_NOTSET : DBPROPSTATUS_CONFLICTING;
    if (FAILED(SetValue(s, prop.dwPropertyID, prop.vValue))) throw std::bad_alloc();
    slot->options = prop.dwOptions;
    OnPropertyChanged(s, &prop);
    return DBPROPSTATUS_OK;
}

inline HRESULT CUtlPropsBase::SetPropertiesFor(const std::vector<SetAccess>& access,
                                               ULONG cPropertySets, DBPROPSET rgPropertySets[]) {
    if (cPropertySets == 0) return S_OK;
    if (rgPropertySets == nullptr) return E_INVALIDARG;
    for (ULONG i = 0; i < cPropertySets; ++i)
        if (rgPropertySets[i].cProperties != 0 && rgPropertySets[i].rgProperties == nullptr)
            return E_INVALIDARG;
    size_t okCount = 0;
    size_t errorCount = 0;
    for (ULONG i = 0; i < cPropertySets; ++i) {
        DBPROPSET& set = rgPropertySets[i];
        for (ULONG k = 0; k < set.cProperties; ++k) {
            DBPROP& prop = set.rgProperties[k];
            prop.dwStatus = SetOne(access, set.guidPropertySet, prop);
            ++(prop.dwStatus == DBPROPSTATUS_OK ? okCount : errorCount);
        }
    }
    if (errorCount == 0) return S_OK;
    return okCount == 0 ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}

inline HRESULT CUtlPropsBase::GetPropertyInfoFor(const std::vector<SetAccess>& access,
                                                 ULONG cPropertyIDSets,
                                                 const DBPROPIDSET rgPropertyIDSets[],
                                                 ULONG* pcPropertyInfoSets,
                                                 DBPROPINFOSET** prgPropertyInfoSets,
                                                 OLECHAR** ppDescBuffer) {
    using namespace util_props_detail;
    if (pcPropertyInfoSets != nullptr) *pcPropertyInfoSets = 0;
    if (prgPropertyInfoSets != nullptr) *prgPropertyInfoSets = nullptr;
    if (ppDescBuffer != nullptr) *ppDescBuffer = nullptr;
    if ((cPropertyIDSets != 0 && rgPropertyIDSets == nullptr) || pcPropertyInfoSets == nullptr ||
        prgPropertyInfoSets == nullptr)
        return E_INVALIDARG;
    for (ULONG i = 0; i < cPropertyIDSets; ++i)
        if (rgPropertyIDSets[i].cPropertyIDs != 0 && rgPropertyIDSets[i].rgPropertyIDs == nullptr)
            return E_INVALIDARG;

    // Each answered property: its map entry (null when not supported).
    struct InfoAnswer {
        GUID guid;
        std::vector<std::pair<DBPROPID, const UPROPINFO*>> props;
    };
    std::vector<InfoAnswer> answer;
    size_t okCount = 0;
    size_t errorCount = 0;
    auto addWholeSet = [&](ULONG s) {
        InfoAnswer set{GetPropertySet(s).guid, {}};
        for (const UPROPINFO& info : GetPropertySet(s).props)
            set.props.emplace_back(info.dwPropId, &info);
        okCount += set.props.size();
        answer.push_back(std::move(set));
    };
    if (cPropertyIDSets == 0) {
        for (ULONG s = 0; s < GetCountOfPropertySets(); ++s)
            if (access[s] != SetAccess::kHidden) addWholeSet(s);
    } else {
        for (ULONG i = 0; i < cPropertyIDSets; ++i) {
            const DBPROPIDSET& idSet = rgPropertyIDSets[i];
            const GroupSet* group = FindGroupSet(idSet.guidPropertySet);
            if (group != nullptr && idSet.cPropertyIDs == 0) {
                bool any = false;
                for (ULONG s = 0; s < GetCountOfPropertySets(); ++s) {
                    if (access[s] == SetAccess::kHidden ||
                        !SetBelongsToGroup(GetPropertySet(s), *group))
                        continue;
                    addWholeSet(s);
                    any = true;
                }
                if (!any) {
                    answer.push_back(InfoAnswer{idSet.guidPropertySet, {}});
                    ++errorCount;
                }
                continue;
            }
            const ULONG s = FindVisibleSet(access, idSet.guidPropertySet);
            if (idSet.cPropertyIDs == 0) {
                if (s == ULONG(-1)) {
                    answer.push_back(InfoAnswer{idSet.guidPropertySet, {}});
                    ++errorCount;
                } else {
                    addWholeSet(s);
                }
                continue;
            }
            InfoAnswer set{idSet.guidPropertySet, {}};
            for (ULONG k = 0; k < idSet.cPropertyIDs; ++k) {
                const DBPROPID id = idSet.rgPropertyIDs[k];
                const UPROPINFO* info = s == ULONG(-1) ? nullptr : FindInfo(s, id);
                set.props.emplace_back(id, info);
                ++(info != nullptr ? okCount : errorCount);
            }
            answer.push_back(std::move(set));
        }
    }

    // Descriptions go into one buffer, one after the other, each with its terminator.
    std::vector<std::u16string> descriptions;
    size_t descChars = 0;
    if (ppDescBuffer != nullptr) {
        for (const InfoAnswer& set : answer)
            for (const auto& entry : set.props) {
                if (entry.second == nullptr) continue;
                descriptions.push_back(Description(*entry.second));
                descChars += descriptions.back().size() + 1;
            }
    }
    TaskMemArray<OLECHAR> descBuffer;
    descBuffer.Allocate(descChars);
    TaskMemArray<DBPROPINFOSET> sets;
    sets.Allocate(answer.size());
    std::vector<DBPROPINFO*> arrays(answer.size(), nullptr);
    for (size_t i = 0; i < answer.size(); ++i) {
        if (answer[i].props.empty()) continue;
        arrays[i] =
            static_cast<DBPROPINFO*>(CoTaskMemAlloc(answer[i].props.size() * sizeof(DBPROPINFO)));
        if (arrays[i] == nullptr) {
            for (DBPROPINFO* array : arrays) CoTaskMemFree(array);
            throw std::bad_alloc();
        }
    }
    OLECHAR* nextDesc = descBuffer.Get();
    size_t descIndex = 0;
    for (size_t i = 0; i < answer.size(); ++i) {
        for (size_t k = 0; k < answer[i].props.size(); ++k) {
            DBPROPINFO& out = arrays[i][k];
            const UPROPINFO* info = answer[i].props[k].second;
            out.pwszDescription = nullptr;
            out.dwPropertyID = answer[i].props[k].first;
            out.dwFlags = info != nullptr ? info->dwFlags : DBPROPFLAGS_NOTSUPPORTED;
            out.vtType = info != nullptr ? info->vtType : VARTYPE(VT_EMPTY);
            VariantInit(&out.vValues);
            if (info != nullptr && nextDesc != nullptr) {
                const std::u16string& text = descriptions[descIndex++];
                std::memcpy(nextDesc, text.c_str(), (text.size() + 1) * sizeof(OLECHAR));
                out.pwszDescription = nextDesc;
                nextDesc += text.size() + 1;
            }
        }
        sets.Get()[i].rgPropertyInfos = arrays[i];
        sets.Get()[i].cPropertyInfos = static_cast<ULONG>(answer[i].props.size());
        sets.Get()[i].guidPropertySet = answer[i].guid;
    }
    *pcPropertyInfoSets = static_cast<ULONG>(answer.size());
    *prgPropertyInfoSets = sets.Release();
    if (ppDescBuffer != nullptr) *ppDescBuffer = descBuffer.Release();
    if (errorCount == 0) return S_OK;
    return okCount == 0 ? DB_E_ERRORSOCCURRED : DB_S_ERRORSOCCURRED;
}
