// Tests of the HRESULT name table.
#include "tools/zelmo/hresult_names.h"

#include <gtest/gtest.h>

#include "oledberr.h"

namespace {

TEST(HResultNamesTest, NamesTheCodesOfTheRuntimeAndTheProvider) {
    EXPECT_STREQ(HResultName(E_FAIL), "E_FAIL");
    EXPECT_STREQ(HResultName(E_INVALIDARG), "E_INVALIDARG");
    EXPECT_STREQ(HResultName(REGDB_E_CLASSNOTREG), "REGDB_E_CLASSNOTREG");
    EXPECT_STREQ(HResultName(DB_E_NOCOMMAND), "DB_E_NOCOMMAND");
    EXPECT_STREQ(HResultName(DB_S_ERRORSOCCURRED), "DB_S_ERRORSOCCURRED");
    EXPECT_STREQ(HResultName(MD_E_INVALIDAXIS), "MD_E_INVALIDAXIS");
    EXPECT_STREQ(HResultName(S_OK), "S_OK");
}

TEST(HResultNamesTest, AnAliasValueGetsTheFirstName) {
    EXPECT_STREQ(HResultName(DB_E_BADID), "DB_E_BADTABLEID");
}

TEST(HResultNamesTest, DescriptionCarriesTheHexValue) {
    EXPECT_EQ(DescribeHResult(E_FAIL), "E_FAIL (0x80004005)");
    EXPECT_EQ(HResultName(static_cast<HRESULT>(0x8000ABCD)), nullptr);
    EXPECT_EQ(DescribeHResult(static_cast<HRESULT>(0x8000ABCD)), "0x8000ABCD");
}

}  // namespace
