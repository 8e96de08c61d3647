// Tests of IErrorRecordsImpl: records kept in order, the published argument and record-number
// checks, custom error objects and the error object of GetErrorInfo.
#include <gtest/gtest.h>

#include "atl_com.h"
#include "error_records_impl.h"

namespace {

class TestErrorRecords : public CComObjectRootEx<CComSingleThreadModel>,
                         public IErrorRecordsImpl<TestErrorRecords> {
  public:
    BEGIN_COM_MAP(TestErrorRecords)
    COM_INTERFACE_ENTRY(IErrorRecords)
    END_COM_MAP()
};

CComPtr<IErrorRecords> NewRecords() {
    CComObject<TestErrorRecords>* object = nullptr;
    EXPECT_EQ(CComObject<TestErrorRecords>::CreateInstance(&object), S_OK);
    CComPtr<IErrorRecords> records;
    EXPECT_EQ(object->QueryInterface(IID_IErrorRecords, reinterpret_cast<void**>(&records)), S_OK);
    return records;
}

}  // namespace

TEST(OledbErrorRecords, RecordsKeepTheirOrderAndNumbers) {
    CComPtr<IErrorRecords> records = NewRecords();
    ULONG count = 9;
    ASSERT_EQ(records->GetRecordCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(records->GetRecordCount(nullptr), E_INVALIDARG);
    EXPECT_EQ(records->AddErrorRecord(nullptr, 0, nullptr, nullptr, 0), E_INVALIDARG);

    ERRORINFO first{DB_E_NOTABLE, 1, CLSID_NULL, IID_IOpenRowset, 0};
    ERRORINFO second{DB_E_BADCOLUMNID, 2, CLSID_NULL, IID_IColumnsInfo, 0};
    ASSERT_EQ(records->AddErrorRecord(&first, 0, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(records->AddErrorRecord(&second, 0, nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(records->GetRecordCount(&count), S_OK);
    EXPECT_EQ(count, 2u);
    ERRORINFO read{};
    ASSERT_EQ(records->GetBasicErrorInfo(1, &read), S_OK);
    EXPECT_EQ(read.hrError, DB_E_BADCOLUMNID);
    EXPECT_EQ(read.dwMinor, 2u);
    EXPECT_EQ(records->GetBasicErrorInfo(2, &read), DB_E_BADRECORDNUM);
    EXPECT_EQ(records->GetBasicErrorInfo(0, nullptr), E_INVALIDARG);

    CComPtr<IErrorInfo> info;
    ASSERT_EQ(records->GetErrorInfo(0, 0, &info), S_OK);
    GUID guid{};
    ASSERT_EQ(info->GetGUID(&guid), S_OK);
    EXPECT_TRUE(guid == IID_IOpenRowset);
    BSTR description = nullptr;
    ASSERT_EQ(info->GetDescription(&description), S_OK);
    EXPECT_EQ(SysStringLen(description), 0u);
    SysFreeString(description);
    IErrorInfo* none = reinterpret_cast<IErrorInfo*>(0x1);
    EXPECT_EQ(records->GetErrorInfo(5, 0, &none), DB_E_BADRECORDNUM);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(records->GetErrorParameters(0, nullptr), E_INVALIDARG);
}

TEST(OledbErrorRecords, CustomErrorObjectsAreHeldAndQueried) {
    CComPtr<IErrorRecords> records = NewRecords();
    CComPtr<IErrorRecords> custom = NewRecords();
    ERRORINFO error{E_FAIL, 0, CLSID_NULL, IID_ICommand, 0};
    ASSERT_EQ(records->AddErrorRecord(&error, 0, nullptr, custom, 0), S_OK);
    ASSERT_EQ(records->AddErrorRecord(&error, 0, nullptr, nullptr, 0), S_OK);
    CComPtr<IErrorRecords> back;
    ASSERT_EQ(
        records->GetCustomErrorObject(0, IID_IErrorRecords, reinterpret_cast<IUnknown**>(&back)),
        S_OK);
    EXPECT_EQ(back.p, custom.p);
    IUnknown* nothing = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(records->GetCustomErrorObject(1, IID_IUnknown, &nothing), S_OK);
    EXPECT_EQ(nothing, nullptr);
    EXPECT_EQ(records->GetCustomErrorObject(0, IID_IRowset, &nothing), E_NOINTERFACE);
    EXPECT_EQ(records->GetCustomErrorObject(2, IID_IUnknown, &nothing), DB_E_BADRECORDNUM);
    EXPECT_EQ(records->GetCustomErrorObject(0, IID_IUnknown, nullptr), E_INVALIDARG);
}
