#include "app/main_window.h"

#include <array>
#include <utility>

#include "app/prefill.h"

namespace quorvel {
namespace {

using platform::ControlDescription;
using platform::ControlKind;
using platform::EditSettings;

constexpr EditSettings kShareBoxSettings{
    .autoHScroll = true,
    .centred = true,
};
constexpr EditSettings kResultBoxSettings{
    .multiLine = true,
    .autoVScroll = true,
    .wantReturn = true,
    .verticalScrollBar = true,
};

// Texts are code page 936; each is written out next to its bytes.
constexpr std::array<ControlDescription, 7> kControls{{
    {.id = "shareFrame",
     .name = "\xB7\xD6\xD7\xE9\xBF\xF2\x31",  // 分组框1
     .kind = ControlKind::kGroupBox,
     .x = 5,
     .y = 5,
     .width = 545,
     .height = 60,
     .text = "\xB7\xD6\xCF\xED\xB5\xD8\xD6\xB7",  // 分享地址
     .tabStop = false,
     .edit = {}},
    {.id = "shareBox",
     .name = "\xB1\xE0\xBC\xAD\xBF\xF2\x31",  // 编辑框1
     .kind = ControlKind::kEditBox,
     .x = 12,
     .y = 24,
     .width = 532,
     .height = 30,
     .text = "",
     .tabStop = true,
     .edit = kShareBoxSettings},
    {.id = "resultFrame",
     .name = "\xB7\xD6\xD7\xE9\xBF\xF2\x32",  // 分组框2
     .kind = ControlKind::kGroupBox,
     .x = 5,
     .y = 72,
     .width = 545,
     .height = 224,
     .text = "\xBB\xF1\xC8\xA1\xBD\xE1\xB9\xFB",  // 获取结果
     .tabStop = false,
     .edit = {}},
    {.id = "resultBox",
     .name = "\xB1\xE0\xBC\xAD\xBF\xF2\x32",  // 编辑框2
     .kind = ControlKind::kEditBox,
     .x = 12,
     .y = 88,
     .width = 532,
     .height = 200,
     .text = "",
     .tabStop = true,
     .edit = kResultBoxSettings},
    {.id = "resolveButton",
     .name = "\xB0\xB4\xC5\xA5\x31",  // 按钮1
     .kind = ControlKind::kPushButton,
     .x = 56,
     .y = 304,
     .width = 128,
     .height = 30,
     .text = "\xBB\xF1\xC8\xA1\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7",  // 获取下载地址
     .tabStop = true,
     .edit = {}},
    {.id = "copyButton",
     .name = "\xB0\xB4\xC5\xA5\x32",  // 按钮2
     .kind = ControlKind::kPushButton,
     .x = 204,
     .y = 304,
     .width = 128,
     .height = 30,
     // 复制地址到剪切板
     .text = "\xB8\xB4\xD6\xC6\xB5\xD8\xD6\xB7\xB5\xBD\xBC\xF4\xC7\xD0\xB0\xE5",
     .tabStop = true,
     .edit = {}},
    {.id = "browserButton",
     .name = "\xB0\xB4\xC5\xA5\x33",  // 按钮3
     .kind = ControlKind::kPushButton,
     .x = 352,
     .y = 304,
     .width = 128,
     .height = 30,
     .text = "\xCA\xB9\xD3\xC3\xE4\xAF\xC0\xC0\xC6\xF7\xCF\xC2\xD4\xD8",  // 使用浏览器下载
     .tabStop = true,
     .edit = {}},
}};

constexpr platform::WindowDescription kMainWindow{
    .caption = "Quorvel 2017/05/15 By Dathmere",
    .width = 560,
    .height = 366,
    .controls = kControls,
};

}  // namespace

const platform::WindowDescription& MainWindowDescription() { return kMainWindow; }

bool OpenMainWindow(ClickHandlers handlers) {
  platform::WindowEvents events{
      .created = [] { PrefillShareBox(); },
      .clicked =
          [handlers = std::move(handlers)](int control) {
            const std::function<void()>* handler = nullptr;
            switch (control) {
              case kResolveButton:
                handler = &handlers.resolve;
                break;
              case kCopyButton:
                handler = &handlers.copy;
                break;
              case kBrowserButton:
                handler = &handlers.openInBrowser;
                break;
              default:
                break;
            }
            if (handler != nullptr && *handler) (*handler)();
          },
  };
  return platform::CreateMainWindow(kMainWindow, std::move(events));
}

int RunMainWindow(ClickHandlers handlers) {
  const platform::GuiThread gui;
  if (!OpenMainWindow(std::move(handlers))) return 1;
  platform::RunMessageLoop();
  return 0;
}

}  // namespace quorvel
