#include "resolver/resolve.h"

#include <optional>

#include "app/boxes.h"
#include "resolver/codepage.h"
#include "resolver/markers.h"
#include "resolver/unescape.h"
#include "textkit/number.h"
#include "web/web_request.h"

namespace quorvel {

Text ResolveFailureMessage() {
  return ConcatText({
      // 解析失败：
      "\xBD\xE2\xCE\xF6\xCA\xA7\xB0\xDC\xA3\xBA",
      "\r\n",
      // 原因1
      "\xD4\xAD\xD2\xF2"
      "1",
      "\r\n",
      // 该文件短时间重复解析3次以上就会失败，请过一会儿在来重新解析该地址。
      "\xB8\xC3\xCE\xC4\xBC\xFE\xB6\xCC\xCA\xB1\xBC\xE4\xD6\xD8\xB8\xB4\xBD\xE2\xCE\xF6"
      "3\xB4\xCE\xD2\xD4\xC9\xCF\xBE\xCD\xBB\xE1\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xB9\xFD\xD2\xBB"
      "\xBB\xE1\xB6\xF9\xD4\xDA\xC0\xB4\xD6\xD8\xD0\xC2\xBD\xE2\xCE\xF6\xB8\xC3\xB5\xD8\xD6\xB7"
      "\xA1\xA3",
      "\r\n",
      // 原因2：
      "\xD4\xAD\xD2\xF2"
      "2\xA3\xBA",
      "\r\n",
      // 该地址有可能已经失效，请重新更换地址。
      "\xB8\xC3\xB5\xD8\xD6\xB7\xD3\xD0\xBF\xC9\xC4\xDC\xD2\xD1\xBE\xAD\xCA\xA7\xD0\xA7\xA3\xAC"
      "\xC7\xEB\xD6\xD8\xD0\xC2\xB8\xFC\xBB\xBB\xB5\xD8\xD6\xB7\xA1\xA3",
  });
}

Text FetchText(const Text& url) { return BytesToText(WebRequest(url)); }

ResolvedShare ResolveShareLink(ResolverState& state, const Text& apiHost) {
  // The share page, as UTF-8 from the service, searched in code page 936 like every other text.
  state.sharePage = Utf8ToLocal(FetchText(GetBoxText(Box::kShare)));
  SetBoxText(Box::kResult, state.sharePage);

  // The six values the endpoint wants, as the page's script data spells them. A missing one is
  // empty and the request still goes out: the endpoint then says what is wrong.
  const Text& page = state.sharePage;
  const Text sign = TextBetween(page, "\"sign\":\"", "\",\"");
  const Text timestamp = TextBetween(page, "\"timestamp\":", ",\"");
  const Text app_id = TextBetween(page, "\"app_id\":\"", "\",\"");
  const Text fs_id = TextBetween(page, "\"fs_id\":", ",\"");
  const Text shareid = TextBetween(page, "\"shareid\":", ",\"");
  const Text uk = TextBetween(page, "\"uk\":", ",\"");

  const Text request = ConcatText({
      "http://",
      apiHost,
      "/api/sharedownload?sign=",
      sign,
      "&timestamp=",
      timestamp,
      "&bdstoken=&channel=chunlei&clienttype=0&web=1&app_id=",
      app_id,
      "&encrypt=0&fid_list=%5B",
      fs_id,
      "%5D&primaryid=",
      shareid,
      "&product=share&uk=",
      uk,
  });
  // The answer is ASCII JSON and is searched as it arrives.
  const Text answer = FetchText(request);

  ResolvedShare share;
  const Text errorNumber = TextBetween(answer, "errno\":", ",");
  if (CompareText(errorNumber, "0") != 0) {
    SetBoxText(Box::kResult, ResolveFailureMessage());
    return share;
  }
  share.succeeded = true;

  share.fileName = UnescapeName(TextBetween(answer, "server_filename\":\"", "\","));
  share.md5 = TextBetween(answer, "\"md5\":\"", "\",");
  const double megabytes = ToNumber(TextBetween(answer, "size\":", ",")) / 1024000;
  share.size = ConcatText({NumberToText(RoundNumber(megabytes, 2)), "M"});

  // The link comes with its slashes escaped ("\/"); dropping every "/" leaves the backslashes,
  // which browsers on Windows read as slashes.
  const Text dlink = TextBetween(answer, "dlink\":\"", "\",");
  state.resolvedAddress = ReplaceMany(dlink, std::nullopt, 0, false, "/", "");
  share.address = state.resolvedAddress;
  SetBoxText(Box::kResult, state.resolvedAddress);
  return share;
}

}  // namespace quorvel
