// The measures rowset: the one measure of the cube the consumer names.
#include "provider/schema/measure_rowset.h"

#include "client/wide_text.h"
#include "olap.h"
#include "provider/schema/schema_names.h"

CMeasureRow::CMeasureRow(const std::u16string& cubeName) {
    SetFieldText(catalogName, {kCatalogName});
    SetFieldText(schemaName, {});
    SetFieldText(this->cubeName, {cubeName});
    SetFieldText(measureName, {u"Value"});
    SetFieldText(measureUniqueName, {u"[Measures <0>].[Value <0>]"});
    SetFieldText(measureCaption, {u"Value"});
    measureGuid = GUID{};
    measureAggregator = MDMEASURE_AGGR_SUM;
    dataType = DBTYPE_EMPTY;
    numericPrecision = 16;
    numericScale = 16;
    SetFieldText(measureUnits, {});
    SetFieldText(description, {});
    SetFieldText(expression, {});
    measureIsVisible = 1;
    SetFieldText(levelsList, {});
    SetFieldText(measureUnqualifiedCaption, {u"Value"});
    SetFieldText(measureNameSqlColumnName, {});
    SetFieldText(measureGroupName, {u"[DEFAULT]"});
}

HRESULT CMeasureRowset::Execute(DBROWCOUNT* pcRowsAffected, ULONG cRestrictions,
                                const VARIANT* rgRestrictions) {
    RestrictionSet restrictions;
    ParseRestrictions(cRestrictions, rgRestrictions, &restrictions);
    if (restrictions.cubePresent != 0 && !restrictions.AnyOverlong(kReadRestrictions))
        m_rgRowData.Add(CMeasureRow(Utf8ToUtf16(restrictions.cube)));
    return Finish(pcRowsAffected);
}
