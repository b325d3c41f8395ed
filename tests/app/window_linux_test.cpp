// The main window on Linux, driven as a user would through Qt's offscreen platform: real widgets
// clicked and typed into with QTest, the real (in-process) clipboard and the real message box.
// The desktop's handler for web addresses is replaced by a recorder, so that no browser starts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/boxes.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "platform/ui.h"
#include "resolver/resolve.h"
#include "support/fake_share_service.h"
#include "support/text_printing.h"

namespace quorvel {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing_support::T;

// Stands in for the desktop's browser: records every address it is asked to open.
class BrowserRecorder : public QObject {
  Q_OBJECT

 public:
  std::vector<std::string> opened;

 public slots:
  void open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }
};

// The text and properties of the message box open when it is called, which it then dismisses.
struct SeenMessageBox {
  QString text, title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttons = 0;
  bool okButton = false;
  Qt::WindowModality modality = Qt::NonModal;
  bool hasParent = true;
};

std::optional<SeenMessageBox> DismissMessageBox() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) return std::nullopt;
  SeenMessageBox seen{box->text(),
                      box->windowTitle(),
                      box->icon(),
                      static_cast<int>(box->buttons().size()),
                      box->button(QMessageBox::Ok) != nullptr,
                      box->windowModality(),
                      box->parentWidget() != nullptr};
  QTest::mouseClick(box->buttons().front(), Qt::LeftButton);
  return seen;
}

// Types Chinese text as an input method does: by committing it to the focused widget.
void CommitFromInputMethod(QWidget* widget, const char* utf8) {
  QInputMethodEvent event;
  event.setCommitString(QString::fromUtf8(utf8));
  QApplication::sendEvent(widget, &event);
}

class LinuxWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::filesystem::current_path("/");  // anywhere but the executable's folder
    gui_ = std::make_unique<platform::GuiThread>();
  }
  static void TearDownTestSuite() { gui_.reset(); }

  void SetUp() override {
    QDesktopServices::setUrlHandler("http", &browser_, "open");
    QDesktopServices::setUrlHandler("https", &browser_, "open");
  }
  void TearDown() override {
    QDesktopServices::unsetUrlHandler("http");
    QDesktopServices::unsetUrlHandler("https");
  }

  void Open(ClickHandlers handlers = {
                .resolve = {}, .copy = CopyResult, .openInBrowser = OpenResultInBrowser}) {
    ASSERT_TRUE(OpenMainWindow(std::move(handlers)));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "mainWindow") window_ = widget;
    }
    ASSERT_NE(window_, nullptr);
    shareBox_ = window_->findChild<QLineEdit*>("shareBox");
    resultBox_ = window_->findChild<QPlainTextEdit*>("resultBox");
    ASSERT_NE(shareBox_, nullptr);
    ASSERT_NE(resultBox_, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
  }

  QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }

  void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }

  // Clicks the copy button and dismisses the message box it shows, if any.
  std::optional<SeenMessageBox> ClickCopy() {
    std::optional<SeenMessageBox> seen;
    QTimer::singleShot(0, [&] { seen = DismissMessageBox(); });
    Click("copyButton");
    QApplication::processEvents();  // the timer fires here when no box was shown
    return seen;
  }

  static inline std::unique_ptr<platform::GuiThread> gui_;
  BrowserRecorder browser_;
  QWidget* window_ = nullptr;
  QLineEdit* shareBox_ = nullptr;
  QPlainTextEdit* resultBox_ = nullptr;
};

TEST_F(LinuxWindow, RunsInTheExecutablesFolder) {
  EXPECT_EQ(std::filesystem::current_path(),
            std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

TEST_F(LinuxWindow, IsAFixedSizeWindowCentredOnThePrimaryScreen) {
  Open();
  EXPECT_EQ(window_->windowTitle(), "Quorvel 2017/05/15 By Dathmere");
  EXPECT_TRUE(window_->isVisible());
  // The client area of a 560 x 366 Windows frame, fixed.
  EXPECT_EQ(window_->size(), QSize(554, 341));
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
  const Qt::WindowFlags flags = window_->windowFlags();
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window_->pos(), QPoint((screen.width() - 560) / 2, (screen.height() - 366) / 2));
  const QList<QSize> iconSizes = window_->windowIcon().availableSizes();
  EXPECT_THAT(std::vector<QSize>(iconSizes.begin(), iconSizes.end()),
              ::testing::UnorderedElementsAre(QSize(16, 16), QSize(32, 32), QSize(48, 48)));
}

TEST_F(LinuxWindow, HasTheSevenControlsAtTheirPlacesWithTheirTexts) {
  Open();
  struct Expected {
    const char* name;
    const char* className;
    QRect place;
    const char* text;  // UTF-8
    bool tabStop;
  };
  const Expected expected[] = {
      {"shareFrame", "QGroupBox", {5, 5, 545, 60}, "分享地址", false},
      {"shareBox", "QLineEdit", {12, 24, 532, 30}, "", true},
      {"resultFrame", "QGroupBox", {5, 72, 545, 224}, "获取结果", false},
      {"resultBox", "QPlainTextEdit", {12, 88, 532, 200}, "", true},
      {"resolveButton", "QPushButton", {56, 304, 128, 30}, "获取下载地址", true},
      {"copyButton", "QPushButton", {204, 304, 128, 30}, "复制地址到剪切板", true},
      {"browserButton", "QPushButton", {352, 304, 128, 30}, "使用浏览器下载", true},
  };
  for (const Expected& control : expected) {
    SCOPED_TRACE(control.name);
    auto* widget = window_->findChild<QWidget*>(control.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), control.className);
    EXPECT_EQ(widget->geometry(), control.place);
    EXPECT_TRUE(widget->isVisible() && widget->isEnabled());
    EXPECT_EQ(widget->focusPolicy() == Qt::StrongFocus, control.tabStop);
    QString text;
    if (auto* group = qobject_cast<QGroupBox*>(widget)) text = group->title();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      text = button->text();
      EXPECT_FALSE(button->isDefault() || button->autoDefault());
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) text = edit->toPlainText();
    EXPECT_EQ(text, QString::fromUtf8(control.text));
  }
  // Each group box lies behind its edit box.
  const QObjectList& children = window_->children();
  EXPECT_LT(children.indexOf(window_->findChild<QWidget*>("shareFrame")),
            children.indexOf(shareBox_));
  EXPECT_LT(children.indexOf(window_->findChild<QWidget*>("resultFrame")),
            children.indexOf(resultBox_));
  // The share box has the focus first; Tab goes through the boxes and then the buttons.
  EXPECT_EQ(QApplication::focusWidget(), shareBox_);
  for (const char* next :
       {"resultBox", "resolveButton", "copyButton", "browserButton", "shareBox"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
  }
}

TEST_F(LinuxWindow, TheShareBoxIsOneCentredLineAndTheResultBoxWrapsWithAVerticalBarOnly) {
  Open();
  EXPECT_EQ(shareBox_->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_FALSE(shareBox_->isReadOnly());
  EXPECT_EQ(shareBox_->echoMode(), QLineEdit::Normal);
  const std::string longLine(2000, 'x');
  shareBox_->setText(QString::fromStdString(longLine));  // scrolls sideways, keeps it all
  EXPECT_EQ(GetBoxText(Box::kShare), T(longLine));

  EXPECT_EQ(resultBox_->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  EXPECT_EQ(resultBox_->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(resultBox_->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  resultBox_->setFocus();
  QTest::keyClicks(resultBox_, "one");
  QTest::keyClick(resultBox_, Qt::Key_Return);  // Enter inserts a line break
  CommitFromInputMethod(resultBox_, "二");
  EXPECT_EQ(GetBoxText(Box::kResult), T("one\r\n\xB6\xFE"));
  QTest::keyClick(resultBox_, Qt::Key_Tab);  // moves on, inserts nothing
  EXPECT_EQ(QApplication::focusWidget(), Button("resolveButton"));
  EXPECT_EQ(GetBoxText(Box::kResult), T("one\r\n\xB6\xFE"));
}

TEST_F(LinuxWindow, BoxTextsAreCodePage936BothWays) {
  Open();
  SetBoxText(Box::kResult, T("\xBD\xE2\xCE\xF6\xCA\xA7\xB0\xDC\xA3\xBA\r\nline 2\r\n"));
  EXPECT_EQ(resultBox_->toPlainText(), QString::fromUtf8("解析失败：\nline 2\n"));
  EXPECT_EQ(GetBoxText(Box::kResult), T("\xBD\xE2\xCE\xF6\xCA\xA7\xB0\xDC\xA3\xBA\r\nline 2\r\n"));
  SetBoxText(Box::kShare, T("a\r\nb"));  // a line break stays in the one-line box
  EXPECT_EQ(GetBoxText(Box::kShare), T("a\r\nb"));
  SetBoxText(Box::kShare, Text());
  EXPECT_EQ(GetBoxText(Box::kShare), Text());
}

TEST_F(LinuxWindow, TakesAShareAddressFromTheClipboardAtStart) {
  const std::pair<std::optional<const char*>, const char*> cases[] = {
      {"http://pan.baidu.com/", "http://pan.baidu.com/"},
      // Lines on the desktop's clipboard end in LF; the box holds them with CR LF.
      {"http://pan.baidu.com/s/1x\n分\n", "http://pan.baidu.com/s/1x\r\n\xB7\xD6\r\n"},
      {"https://pan.baidu.com/s/1x", ""},
      {"HTTP://PAN.BAIDU.COM/s/1x", ""},
      {" http://pan.baidu.com/s/1x", ""},
      {std::nullopt, ""},
  };
  for (const auto& [clipboard, shareBox] : cases) {
    QGuiApplication::clipboard()->clear();
    if (clipboard) QGuiApplication::clipboard()->setText(QString::fromUtf8(*clipboard));
    Open();
    EXPECT_EQ(GetBoxText(Box::kShare), T(shareBox));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), clipboard ? QString::fromUtf8(*clipboard) : "");
  }
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(picture);  // only a picture
  Open();
  EXPECT_EQ(GetBoxText(Box::kShare), Text());
}

TEST_F(LinuxWindow, CopyPutsTheResultBoxOnTheClipboardAndSaysSoInAModalBox) {
  Open();
  resultBox_->setFocus();
  QTest::keyClicks(resultBox_, "http://host/a");
  QTest::keyClick(resultBox_, Qt::Key_Return);
  CommitFromInputMethod(resultBox_, "第二行");
  for (int click = 0; click < 2; ++click) {
    QGuiApplication::clipboard()->setText("old");
    const std::optional<SeenMessageBox> box = ClickCopy();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, QString::fromUtf8("复制成功！"));
    EXPECT_EQ(box->title, QString::fromUtf8("友情提示"));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);
    EXPECT_EQ(box->buttons, 1);
    EXPECT_TRUE(box->okButton);
    EXPECT_EQ(box->modality, Qt::ApplicationModal);
    EXPECT_FALSE(box->hasParent);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("http://host/a\n第二行"));
  }
}

TEST_F(LinuxWindow, CopyOfAnEmptyResultBoxDoesNothing) {
  Open();
  QGuiApplication::clipboard()->setText("old");
  EXPECT_FALSE(ClickCopy().has_value());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "old");
}

TEST_F(LinuxWindow, TheBrowserButtonOpensOnlyWebAddressesWithSlashes) {
  Open();
  for (const char* text : {"http:\\\\d.pcs.baidu.com\\file\\a.zip?fid=1\\2&x=y", "",
                           "file:///etc/passwd", "/usr/bin/xterm", "HTTPS://host/x"}) {
    SetBoxText(Box::kResult, T(text));
    Click("browserButton");
  }
  EXPECT_THAT(browser_.opened,
              ElementsAre("http://d.pcs.baidu.com/file/a.zip?fid=1%5C2&x=y", "https://host/x"));
}

TEST_F(LinuxWindow, EachButtonRunsTheHandlerItsCallerGave) {
  std::vector<std::string> clicks;
  Open({.resolve = [&] { clicks.push_back("resolve"); },
        .copy = [&] { clicks.push_back("copy"); },
        .openInBrowser = [&] { clicks.push_back("browser"); }});
  for (const char* button : {"resolveButton", "browserButton", "copyButton"}) Click(button);
  EXPECT_THAT(clicks, ElementsAre("resolve", "browser", "copy"));
}

TEST_F(LinuxWindow, TheResolveButtonShowsTheDownloadAddressOrWhyNot) {
  testing_support::FakeShareService service;
  service.SetAnswer(
      R"({"errno":0,"request_id":1,"list":[{"fs_id":123456789012345,"dlink":"http:\/\/d.pcs.test\/file\/a?fid=1","server_filename":"a.txt","size":1024000,"md5":"m","isdir":0}]})");
  ResolverState state;
  Open({.resolve = [&] { ResolveShareLink(state, Text(service.ApiHost())); },
        .copy = CopyResult,
        .openInBrowser = OpenResultInBrowser});
  QTest::keyClicks(shareBox_, QString::fromStdString(service.ShareUrl()));
  Click("resolveButton");
  EXPECT_EQ(resultBox_->toPlainText(), QString(R"(http:\\d.pcs.test\file\a?fid=1)"));
  Click("browserButton");
  EXPECT_THAT(browser_.opened, ElementsAre("http://d.pcs.test/file/a?fid=1"));

  service.SetAnswer(R"({"errno":-9,"request_id":2})");
  Click("resolveButton");
  EXPECT_EQ(GetBoxText(Box::kResult), ResolveFailureMessage());
  EXPECT_EQ(resultBox_->toPlainText().left(5), QString::fromUtf8("解析失败："));
}

}  // namespace
}  // namespace quorvel

#include "window_linux_test.moc"
