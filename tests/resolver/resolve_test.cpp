// The resolve command from end to end against a fake share service on 127.0.0.1, through the
// real internet client, code-page conversion and script host. The two boxes are plain texts here
// (the window's own tests drive the same command through the real window).
#include "resolver/resolve.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/boxes.h"
#include "app/main_window.h"
#include "platform/ui.h"
#include "resolver/codepage.h"
#include "support/fake_share_service.h"
#include "support/text_printing.h"

namespace quorvel {
namespace {

std::map<int, Text> boxes;  // control index -> text

}  // namespace

namespace platform {
Text GetControlText(int control) { return boxes[control]; }
void SetControlText(int control, const Text& text) { boxes[control] = text; }
}  // namespace platform

namespace {

using testing_support::FakeShareService;

// The service's answer for the share, as it spells it: escaped slashes and \u escapes.
constexpr char kSuccessAnswer[] =
    R"({"errno":0,"request_id":6140271318474937181,"server_time":1494835300,"list":[{)"
    R"("fs_id":123456789012345,"dlink":"http:\/\/d.pcs.test\/file\/0a1b2c?fid=1112219283-)"
    R"(250528-123456789012345&dstime=1494835300","server_filename":"\u6d4b\u8bd5\u6587\u4ef6.txt",)"
    R"("size":52428800,"md5":"8a5b5b8f7c0f6b0e4b3c2d1e0f9a8b7c","isdir":0}]})";

// Each "/" of the link removed: the backslashes that escaped them stay.
constexpr char kShownAddress[] =
    R"(http:\\d.pcs.test\file\0a1b2c?fid=1112219283-250528-123456789012345&dstime=1494835300)";

constexpr char kEmptyValuesTarget[] =
    "/api/sharedownload?sign=&timestamp=&bdstoken=&channel=chunlei&clienttype=0&web=1&app_id="
    "&encrypt=0&fid_list=%5B%5D&primaryid=&product=share&uk=";

class ResolveShareLinkTest : public ::testing::Test {
 protected:
  void SetUp() override { boxes.clear(); }

  ResolvedShare Resolve(const std::string& shareAddress) {
    SetBoxText(Box::kShare, Text(shareAddress));
    return ResolveShareLink(state_, Text(service_.ApiHost()));
  }

  FakeShareService service_;
  ResolverState state_;
};

TEST(ResolveFailureMessage, IsTheFiveLinesInCodePage936) {
  EXPECT_EQ(ResolveFailureMessage(),
            Utf8ToLocal("解析失败：\r\n原因1\r\n"
                        "该文件短时间重复解析3次以上就会失败，请过一会儿在来重新解析该地址。\r\n"
                        "原因2：\r\n该地址有可能已经失效，请重新更换地址。"));
}

TEST_F(ResolveShareLinkTest, ShowsTheDownloadAddressOfAShare) {
  service_.SetAnswer(kSuccessAnswer);
  const ResolvedShare share = Resolve(service_.ShareUrl());

  // The fake answers with the link only to the exact twelve-key query with the page's cookie.
  ASSERT_EQ(service_.ApiTargets(), std::vector<std::string>{FakeShareService::ExpectedApiTarget()});
  EXPECT_EQ(service_.Requests().back().Header("Cookie").value_or(""), service_.Cookie());

  EXPECT_TRUE(share.succeeded);
  EXPECT_EQ(GetBoxText(Box::kResult), Text(kShownAddress));
  EXPECT_EQ(state_.resolvedAddress, Text(kShownAddress));
  EXPECT_EQ(share.address, Text(kShownAddress));
  EXPECT_EQ(share.fileName, Text("\xB2\xE2\xCA\xD4\xCE\xC4\xBC\xFE.txt"));  // 测试文件.txt
  EXPECT_EQ(share.md5, Text("8a5b5b8f7c0f6b0e4b3c2d1e0f9a8b7c"));
  EXPECT_EQ(share.size, Text("51.2M"));  // 52428800 / 1024000

  // The page is kept in code page 936, not as the UTF-8 that arrived.
  EXPECT_NE(FindText(state_.sharePage, "\xB2\xE2\xCA\xD4\xCE\xC4\xBC\xFE.txt"), -1);
  EXPECT_EQ(FindText(state_.sharePage, Text("测试")), -1);
}

struct FailingAnswer {
  const char* what;
  const char* answer;
};

class ResolveFailureTest : public ResolveShareLinkTest,
                           public ::testing::WithParamInterface<FailingAnswer> {};

TEST_P(ResolveFailureTest, ShowsTheFailureMessageAndKeepsTheLastAddress) {
  state_.resolvedAddress = "http:\\\\earlier";
  service_.SetAnswer(GetParam().answer);
  const ResolvedShare share = Resolve(service_.ShareUrl());
  EXPECT_FALSE(share.succeeded);
  EXPECT_EQ(GetBoxText(Box::kResult), ResolveFailureMessage());
  EXPECT_EQ(state_.resolvedAddress, Text("http:\\\\earlier"));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ResolveFailureTest,
    ::testing::Values(
        FailingAnswer{"ErrorNumber", R"({"errno":-20,"request_id":1,"dlink":"http:\/\/x",})"},
        FailingAnswer{"ZeroThenBrace", R"({"request_id":1,"errno":0},{"dlink":"http:\/\/x",})"},
        FailingAnswer{"ZeroWithoutComma", R"({"request_id":1,"errno":0})"},
        FailingAnswer{"QuotedZero", R"({"errno":"0","dlink":"http:\/\/x",})"},
        // The marker has no leading quote: the first key that ends in errno counts.
        FailingAnswer{"LongerKeyFirst", R"({"show_errno":1,"errno":0,"dlink":"http:\/\/x",})"},
        FailingAnswer{"EmptyBody", ""}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ResolveShareLinkTest, ErrorNumberZeroWithoutLinkEmptiesTheResult) {
  state_.resolvedAddress = "http:\\\\earlier";
  service_.SetAnswer(R"({"errno":0,"request_id":1,"list":[]})");
  const ResolvedShare share = Resolve(service_.ShareUrl());
  EXPECT_TRUE(share.succeeded);
  EXPECT_EQ(GetBoxText(Box::kResult), Text());
  EXPECT_EQ(state_.resolvedAddress, Text());
}

TEST_F(ResolveShareLinkTest, AFailureAfterASuccessKeepsTheAddress) {
  service_.SetAnswer(kSuccessAnswer);
  Resolve(service_.ShareUrl());
  service_.SetAnswer(R"({"errno":-9,"request_id":2})");
  Resolve(service_.ShareUrl());
  EXPECT_EQ(GetBoxText(Box::kResult), ResolveFailureMessage());
  EXPECT_EQ(state_.resolvedAddress, Text(kShownAddress));
}

TEST_F(ResolveShareLinkTest, APageWithoutTheValuesAsksWithEmptyValues) {
  service_.SetAnswer(kSuccessAnswer);
  Resolve(service_.PlainPageUrl());
  EXPECT_EQ(service_.ApiTargets(), std::vector<std::string>{kEmptyValuesTarget});
  EXPECT_EQ(GetBoxText(Box::kResult), ResolveFailureMessage());
  EXPECT_NE(FindText(state_.sharePage, "<title>"), -1);
}

TEST_F(ResolveShareLinkTest, AnEmptyShareBoxStillAsksTheEndpoint) {
  Resolve("");
  EXPECT_EQ(state_.sharePage, Text());
  EXPECT_EQ(service_.ApiTargets(), std::vector<std::string>{kEmptyValuesTarget});
  EXPECT_EQ(GetBoxText(Box::kResult), ResolveFailureMessage());
}

TEST_F(ResolveShareLinkTest, AnUnreachableEndpointShowsTheFailureMessage) {
  service_.SetAnswer(kSuccessAnswer);
  SetBoxText(Box::kShare, Text(service_.ShareUrl()));
  const Text closed("127.0.0.1:" + std::to_string(testing_support::ClosedLocalPort()));
  EXPECT_FALSE(ResolveShareLink(state_, closed).succeeded);
  EXPECT_EQ(GetBoxText(Box::kResult), ResolveFailureMessage());
}

}  // namespace
}  // namespace quorvel
