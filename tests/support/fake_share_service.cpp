#include "support/fake_share_service.h"

#include <atomic>
#include <utility>

namespace quorvel::testing_support {
namespace {

constexpr char kSharePath[] = "/s/1aBcDeFgHi";
constexpr char kPlainPath[] = "/s/plain";
constexpr char kCookieName[] = "BDCLND";

// A share page as the service serves it: UTF-8, Chinese text, and the values in its script data.
constexpr char kSharePage[] =
    R"(<!DOCTYPE html><html><head><meta charset="utf-8">)"
    R"(<title>测试文件.txt_免费高速下载|分享无限制</title></head><body>)"
    R"(<div class="file-name" title="测试文件.txt">测试文件.txt</div><div>文件大小：50M</div>)"
    R"(<script>var yunData = {}; yunData.setData({"loginstate":0,"sign":"5f1e0b7c9a3d",)"
    R"("timestamp":1494835200,"shareid":2788941530,"uk":1112219283,"bdstoken":null,)"
    R"("app_id":"250528","file_list":{"list":[{"fs_id":123456789012345,)"
    R"("server_filename":"测试文件.txt","size":52428800}]},"title":"分享"});</script>)"
    R"(<p>分享的文件已经被取消了 ——</p></body></html>)";

constexpr char kPlainPage[] =
    R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>页面不存在</title></head>)"
    R"(<body><p>啊哦，你所访问的页面不存在了。</p></body></html>)";

constexpr char kWrongRequestAnswer[] = R"({"errno":2,"request_id":6140271318474937181})";

std::string NextCookieValue() {
  static std::atomic<int> counter{0};
  return "share" + std::to_string(++counter);
}

}  // namespace

FakeShareService::FakeShareService()
    : cookieValue_(NextCookieValue()),
      server_([this](const HttpRequest& request) { return Answer(request); }) {
  // Unique across test programs too, since a platform's cookie store may outlive one program.
  std::lock_guard lock(mutex_);
  cookieValue_ += "p" + std::to_string(server_.port());
}

std::string FakeShareService::ShareUrl() const { return server_.Url(kSharePath); }
std::string FakeShareService::PlainPageUrl() const { return server_.Url(kPlainPath); }
std::string FakeShareService::ApiHost() const { return server_.HostPort(); }

void FakeShareService::SetAnswer(std::string answer) {
  std::lock_guard lock(mutex_);
  answer_ = std::move(answer);
}

std::string FakeShareService::Cookie() const {
  std::lock_guard lock(mutex_);
  return std::string(kCookieName) + "=" + cookieValue_;
}

std::string FakeShareService::ExpectedApiTarget() {
  return "/api/sharedownload?sign=5f1e0b7c9a3d&timestamp=1494835200&bdstoken=&channel=chunlei"
         "&clienttype=0&web=1&app_id=250528&encrypt=0&fid_list=%5B123456789012345%5D"
         "&primaryid=2788941530&product=share&uk=1112219283";
}

std::vector<std::string> FakeShareService::ApiTargets() const {
  std::vector<std::string> targets;
  for (const HttpRequest& request : server_.Requests()) {
    if (request.target.starts_with("/api/")) targets.push_back(request.target);
  }
  return targets;
}

HttpResponse FakeShareService::Answer(const HttpRequest& request) {
  const std::string cookie = Cookie();
  const HeaderFields html = {{"Content-Type", "text/html; charset=utf-8"}};
  if (request.target == kSharePath) {
    HttpResponse page{.headers = html, .body = kSharePage};
    page.headers.emplace_back("Set-Cookie", cookie + "; path=/; HttpOnly");
    return page;
  }
  if (request.target == kPlainPath) return HttpResponse{.headers = html, .body = kPlainPage};
  if (request.target.starts_with("/api/sharedownload")) {
    const HeaderFields json = {{"Content-Type", "application/json"}};
    const std::string sent = request.Header("Cookie").value_or("");
    const bool cookieBack = sent.find(cookie) != std::string::npos;
    if (request.target != ExpectedApiTarget() || !cookieBack) {
      return HttpResponse{.headers = json, .body = kWrongRequestAnswer};
    }
    std::lock_guard lock(mutex_);
    return HttpResponse{.headers = json, .body = answer_};
  }
  return HttpResponse{.status = 404, .reason = "Not Found", .body = "not found"};
}

}  // namespace quorvel::testing_support
