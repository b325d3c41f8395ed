// What UnescapeName asks of COM and the script host, with a host that records it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "recording_script_host.h"
#include "resolver/unescape.h"
#include "support/text_printing.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using testing_support::RecordedScriptHost;
using testing_support::T;

class UnescapeSteps : public ::testing::Test {
 protected:
  void SetUp() override { RecordedScriptHost() = {}; }
  const std::vector<std::u16string>& calls() { return RecordedScriptHost().calls; }
};

TEST_F(UnescapeSteps, BuildsTheScriptAndReleasesTheObjectBeforeCom) {
  RecordedScriptHost().runResult = u"a\u2019{$}\u4E2D";
  EXPECT_EQ(UnescapeName(T("\r\\u4e2d'\\U\r\n\xD6\xD0")), T("a'\r\n\xD6\xD0"));
  EXPECT_THAT(calls(),
              ElementsAre(u"CoInitialize", u"Create ScriptControl", u"Language JScript",
                          u"ExecuteStatement function xx(){var x='%u4e2d\u2019\\U{$}\u4E2D';"
                          u"return unescape(x);}",
                          u"Run xx", u"Release", u"CoUninitialize"));
}

TEST_F(UnescapeSteps, GivesTheEmptyTextWhenTheScriptControlIsNotRegistered) {
  RecordedScriptHost().creates = false;
  RecordedScriptHost().runResult = u"never";
  EXPECT_EQ(UnescapeName(T("\\u4e2d.txt")), Text());
  EXPECT_EQ(calls().back(), u"CoUninitialize");
}

TEST_F(UnescapeSteps, LeavesComAloneWhenItsInitialisationFails) {
  RecordedScriptHost().coInitializeResult = static_cast<std::int32_t>(0x80010106);  // changed mode
  RecordedScriptHost().runResult = u"x";
  EXPECT_EQ(UnescapeName(T("x")), T("x"));
  EXPECT_EQ(calls().back(), u"Release");
}

}  // namespace
}  // namespace quorvel
