// The script host on its own: the Script Control under Windows, Duktape on Linux. Both must offer
// the same four services with the same results.
#include "platform/script_host.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/wine.h"

namespace quorvel::platform {
namespace {

// COM for the duration of one test.
class ScriptHostTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_GE(CoInitialize(), 0); }
  void TearDown() override { CoUninitialize(); }

  // A JScript host that has run `statement`.
  static ScriptHost HostThatRan(std::u16string_view statement) {
    ScriptHost host(u"ScriptControl");
    EXPECT_TRUE(host.created());
    EXPECT_TRUE(host.SetLanguage(u"JScript"));
    EXPECT_TRUE(host.ExecuteStatement(statement));
    return host;
  }
};

TEST_F(ScriptHostTest, RunsAFunctionThatAStatementDefined) {
  struct Case {
    std::u16string_view statement;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"function f(){return 'plain';}", u"plain"},
      {u"function f(){return '\\u4e2d\\/%41';}", u"\u4E2D/%41"},
      {u"function f(){return unescape('%41%u6587%2f');}", u"A\u6587/"},
      {u"function f(){return '\u4E2D\u2019';}", u"\u4E2D\u2019"},
      {u"function f(){return '\\ud83d\\ude00' + '\U0001F600';}", u"\U0001F600\U0001F600"},
      {u"function f(){return unescape('%uD83D') + 'x';}", u"\xD83Dx"},
      {u"function f(){return 6 * 7;}", u"42"},
      {u"function f(){return 1 < 2;}", u"-1"},
      {u"function f(){}", u""},
  };
  for (const Case& c : cases) {
    ScriptHost host = HostThatRan(c.statement);
    EXPECT_EQ(host.Run(u"f"), std::optional<std::u16string>(c.expected));
  }
}

TEST_F(ScriptHostTest, FailsForScriptsThatDoNotCompileOrThrow) {
  ScriptHost host(u"ScriptControl");
  ASSERT_TRUE(host.SetLanguage(u"JScript"));
  EXPECT_FALSE(host.ExecuteStatement(u"function f(){var x='a\\';return x;}"));
  EXPECT_FALSE(host.ExecuteStatement(u"function f({"));
  EXPECT_EQ(host.Run(u"f"), std::nullopt);
  EXPECT_TRUE(host.ExecuteStatement(u"function g(){throw 1;}"));
  EXPECT_EQ(host.Run(u"g"), std::nullopt);
  EXPECT_TRUE(host.ExecuteStatement(u"function h(){return null;}"));
  EXPECT_EQ(host.Run(u"h"), std::nullopt);
  EXPECT_EQ(host.Run(u"missing"), std::nullopt);
}

TEST_F(ScriptHostTest, LineBreaksEndAStringLiteralTooEarly) {
  if (testing_support::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's JScript accepts line breaks inside string literals";
  }
  for (const std::u16string_view lineBreak : {u"\n", u"\r", u"\u2028"}) {
    ScriptHost host(u"ScriptControl");
    ASSERT_TRUE(host.SetLanguage(u"JScript"));
    std::u16string statement = u"function f(){var x='a";
    statement.append(lineBreak).append(u"b';return x;}");
    EXPECT_FALSE(host.ExecuteStatement(statement));
  }
}

TEST_F(ScriptHostTest, EachHostObjectStartsAfresh) {
  ScriptHost first = HostThatRan(u"function f(){return 'first';}");
  ScriptHost second(u"ScriptControl");
  ASSERT_TRUE(second.SetLanguage(u"JScript"));
  EXPECT_EQ(second.Run(u"f"), std::nullopt);
  EXPECT_EQ(first.Run(u"f"), std::optional<std::u16string>(u"first"));
}

TEST_F(ScriptHostTest, UnknownIdentifiersCreateNothingAndEveryCallThenFails) {
  ScriptHost host(u"Quorvel.NoSuchObject");
  EXPECT_FALSE(host.created());
  EXPECT_FALSE(host.SetLanguage(u"JScript"));
  EXPECT_FALSE(host.ExecuteStatement(u"function f(){return 'x';}"));
  EXPECT_EQ(host.Run(u"f"), std::nullopt);
}

TEST_F(ScriptHostTest, AnUnknownLanguageIsRefused) {
  ScriptHost host(u"ScriptControl");
  ASSERT_TRUE(host.created());
  EXPECT_FALSE(host.SetLanguage(u"NoSuchScript"));
}

}  // namespace
}  // namespace quorvel::platform
