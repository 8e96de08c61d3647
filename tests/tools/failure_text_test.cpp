// Tests of the failure messages: step-specific reasons first, general ones otherwise.
#include "tools/zelmo/failure_text.h"

#include <gtest/gtest.h>

#include "oledberr.h"

namespace {

TEST(FailureTextTest, InitializeWithInvalidArgMeansThePromptWasCancelled) {
    EXPECT_EQ(FailureLine(ToolStep::kInitialize, E_INVALIDARG),
              "Initialize failed: E_INVALIDARG (0x80070057): the credentials prompt was "
              "cancelled or no terminal was available");
}

TEST(FailureTextTest, TheSameCodeReadsDifferentlyAtAnotherStep) {
    EXPECT_EQ(FailureReason(ToolStep::kSetProperties, E_INVALIDARG),
              "the provider refused an argument");
    EXPECT_NE(FailureReason(ToolStep::kExecute, E_FAIL),
              FailureReason(ToolStep::kReadCells, E_FAIL));
}

TEST(FailureTextTest, AnUnregisteredProgIdPointsAtRegistration) {
    EXPECT_NE(FailureReason(ToolStep::kFindProvider, CO_E_CLASSSTRING).find("zelmo register"),
              std::string::npos);
    EXPECT_NE(FailureReason(ToolStep::kFindProvider, REGDB_E_CLASSNOTREG).find("zelmo register"),
              std::string::npos);
}

TEST(FailureTextTest, ExecuteNamesTheEmptyStatement) {
    EXPECT_EQ(FailureLine(ToolStep::kExecute, DB_E_NOCOMMAND),
              "Execute failed: DB_E_NOCOMMAND (0x80040E0C): the statement is empty or was not "
              "accepted");
}

TEST(FailureTextTest, PropertiesPartlySetAreNamedAsSuch) {
    EXPECT_EQ(FailureLine(ToolStep::kSetProperties, DB_S_ERRORSOCCURRED),
              "SetProperties failed: DB_S_ERRORSOCCURRED (0x00040EDA): the provider refused one "
              "or more properties");
}

TEST(FailureTextTest, UnknownCodesStillGiveALine) {
    EXPECT_EQ(FailureLine(ToolStep::kReadRows, static_cast<HRESULT>(0x80001234)),
              "Reading the rowset failed: 0x80001234: the call reported a failure");
}

}  // namespace
