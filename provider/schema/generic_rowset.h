// CGenericRowset: the common base of the nine schema rowsets, with what they share: restriction
// parsing, the road to the session and the user's credentials, ids read out of unique names, and
// the Execute of the rowsets that answer no rows.
#pragma once

#include <cstring>
#include <type_traits>

#include "atl_oledb.h"
#include "provider/connection_settings.h"
#include "provider/get_self.h"
#include "provider/schema/restriction_set.h"
#include "provider/schema/schema_session.h"
#include "provider/schema/schema_text.h"

// Schema rows are fixed records held compactly (each text at its length); every row class must
// qualify for that, or a level of members would take tens of kilobytes a row.
template <class Row>
constexpr bool kIsCompactRow =
    IsCompactRowArray<typename RowArrayFor<CAtlArray<Row>, Row>::type>::value;

// Column map entries of the schema rows: a text column declared with its field's width in bytes,
// and a fixed column with an explicit type and its field's width.
#define SCHEMA_TEXT_COLUMN(name, ordinal, member)                                                  \
    PROVIDER_COLUMN_ENTRY_TYPE_SIZE(name, ordinal, DBTYPE_WSTR, sizeof(COMFW_MEMBER_TYPE(member)), \
                                    member)
#define SCHEMA_COLUMN(name, ordinal, dbtype, member)                                          \
    PROVIDER_COLUMN_ENTRY_TYPE_SIZE(name, ordinal, dbtype, sizeof(COMFW_MEMBER_TYPE(member)), \
                                    member)

// Flags of the hierarchies and levels rows are two-byte fields holding 1 or 0, so that a consumer
// reading them as DBTYPE_BOOL takes no byte of the next field with them.
using SchemaFlag = int16_t;

constexpr size_t kSchemaTextChars = 2048;
constexpr size_t kShortSchemaTextChars = 256;

template <class T, class Row, class Session>
class CGenericRowset : public CSchemaRowsetImpl<T, Row, Session, CAtlArray<Row>, CSimpleRow,
                                                IRowsetImpl<T, IRowset, CSimpleRow>>,
                       public IErrorRecordsImpl<CGenericRowset<T, Row, Session>, ATLERRORINFO> {
  public:
    HRESULT ParseRestrictions(ULONG cRestrictions, const VARIANT* rgRestrictions,
                              RestrictionSet* restrictions) {
        ParseRestrictionArray(cRestrictions, rgRestrictions, restrictions);
        return S_OK;
    }

    // The session that created the rowset (its site), without a reference; null without one.
    Session* GetSessionObject() {
        if (!this->m_spUnkSite) return nullptr;
        CComPtr<IGetSelf> getSelf;
        if (FAILED(this->m_spUnkSite->QueryInterface(IID_IGetSelf,
                                                     reinterpret_cast<void**>(&getSelf))))
            return nullptr;
        void* self = nullptr;
        if (FAILED(getSelf->GetSelf(&self))) return nullptr;
        return static_cast<Session*>(self);
    }

    // The data source's user name (kNarrowUserNameBytes) and password (kNarrowPasswordBytes) as
    // UTF-8; empty when the rowset has no session or the session no data source.
    void GetCredentials(char* user, char* password) {
        ReadSessionCredentials(GetSessionObject(), user, password);
    }

    // The login step of the rowsets that ask the service; the login cache answers after the
    // user's first login.
    APIAuthToken LogIn() {
        char user[kNarrowUserNameBytes];
        char password[kNarrowPasswordBytes];
        GetCredentials(user, password);
        return LoginWithCredentials(user, password);
    }

    // The id between the last '<' of name and the next '>' into out (kIdTextBytes); S_FALSE, with
    // out empty, when it does not fit.
    HRESULT ExtractIdFromName(const char* name, size_t size, char* out) {
        return ExtractIdText(name, size, out) ? S_OK : S_FALSE;
    }

    // The rowsets that describe what the service does not have answer no rows.
    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                    const VARIANT* rgRestrictions) {
        (void)cRestrictions;
        (void)rgRestrictions;
        const char* schema = T::GetSchemaName();
        if (std::strcmp(schema, "MDSCHEMA_SETS") == 0 ||
            std::strcmp(schema, "MDSCHEMA_FUNCTIONS") == 0)
            return S_OK;
        return Finish(pcRowsAffected);
    }

  protected:
    // Ends an Execute: the row count for the creator.
    HRESULT Finish(DBROWCOUNT* pcRowsAffected) {
        if (pcRowsAffected != nullptr)
            *pcRowsAffected = static_cast<DBROWCOUNT>(this->m_rgRowData.GetCount());
        return S_OK;
    }
};
