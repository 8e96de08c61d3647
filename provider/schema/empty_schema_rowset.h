// The common base of the nine schema rowsets until their own Execute, rows and column maps land:
// each answers an empty rowset.
#pragma once

#include "atl_oledb.h"

class ZelmoSession;

// The columns and rows come with the schema rowsets; until then no columns and no rows.
template <class T, class Row>
class EmptySchemaRowset : public CSchemaRowsetImpl<T, Row, ZelmoSession> {
  public:
    HRESULT Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                    const VARIANT* rgRestrictions) {
        static_cast<void>(cRestrictions);
        static_cast<void>(rgRestrictions);
        if (pcRowsAffected != nullptr) *pcRowsAffected = 0;
        return S_OK;
    }
};
