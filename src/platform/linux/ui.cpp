// The main window on Linux, in Qt 6 Widgets: the same window as on Windows, each setting of the
// Windows controls rendered by its nearest Qt equivalent.
#include "platform/ui.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/linux/icon_images.h"
#include "platform/linux/qt_text.h"

namespace quorvel::platform {
namespace {

using qt::FromText;
using qt::ToText;

// The frame that Windows draws around a fixed-size window with a caption: the client area of the
// 560 x 366 window is this much smaller, and the Linux window's client area has the same size so
// that the controls keep their margins.
constexpr int kFrameSide = 3;
constexpr int kFrameTop = 22;  // caption bar and top border
constexpr int kFrameBottom = 3;

// The one main window of the program. Its controls are children of `window` (Qt owns them).
struct MainWindow {
  std::unique_ptr<QWidget> window;
  std::vector<QWidget*> controls;
  WindowEvents events;
};

MainWindow& TheWindow() {
  static MainWindow main;
  return main;
}

void DestroyMainWindow() {
  MainWindow& main = TheWindow();
  main.controls.clear();
  main.window.reset();
}

QIcon ProgramIcon() {
  QIcon icon;
  for (const auto& [bytes, size] : {std::pair{icon::kIcon16, sizeof icon::kIcon16},
                                    std::pair{icon::kIcon32, sizeof icon::kIcon32},
                                    std::pair{icon::kIcon48, sizeof icon::kIcon48}}) {
    QPixmap pixmap;
    pixmap.loadFromData(bytes, static_cast<uint>(size), "PNG");
    icon.addPixmap(pixmap);
  }
  return icon;
}

// Black text on white; a selection shows only while the box has the focus, as in a Windows edit.
void SetEditColours(QWidget* edit) {
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
  edit->setPalette(palette);
}

QWidget* CreateControl(QWidget* parent, const ControlDescription& control, int index) {
  QWidget* widget = nullptr;
  const QString text = FromText(control.text);
  switch (control.kind) {
    case ControlKind::kGroupBox:
      widget = new QGroupBox(text, parent);
      break;
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(text, parent);
      button->setAutoDefault(false);
      button->setDefault(false);
      QObject::connect(button, &QPushButton::clicked, button, [index] {
        if (TheWindow().events.clicked) TheWindow().events.clicked(index);
      });
      widget = button;
      break;
    }
    case ControlKind::kEditBox:
      if (control.edit.multiLine) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setPlainText(text);
        edit->setLineWrapMode(control.edit.autoHScroll ? QPlainTextEdit::NoWrap
                                                       : QPlainTextEdit::WidgetWidth);
        edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        edit->setVerticalScrollBarPolicy(control.edit.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
        // Tab moves on to the next control, as from a multi-line edit in a dialog.
        edit->setTabChangesFocus(true);
        widget = edit;
      } else {
        auto* edit = new QLineEdit(text, parent);
        edit->setMaxLength(std::numeric_limits<int>::max());  // no length limit
        edit->setAlignment(control.edit.centred ? Qt::AlignCenter : Qt::AlignLeft);
        widget = edit;
      }
      SetEditColours(widget);
      break;
  }
  widget->setObjectName(QString::fromLatin1(control.id.data(), control.id.size()));
  widget->setGeometry(control.x, control.y, control.width, control.height);
  widget->setFocusPolicy(control.tabStop ? Qt::StrongFocus : Qt::NoFocus);
  return widget;
}

QWidget* ControlWidget(int control) {
  const MainWindow& main = TheWindow();
  if (!main.window || control < 0 || control >= static_cast<int>(main.controls.size())) {
    return nullptr;
  }
  return main.controls[static_cast<std::size_t>(control)];
}

}  // namespace

struct GuiThread::State {
  int argc = 1;
  char programName[8] = "quorvel";
  char* argv[2] = {programName, nullptr};
  std::unique_ptr<QApplication> application;
};

GuiThread::GuiThread() : state_(std::make_unique<State>()) {
  if (QCoreApplication::instance() == nullptr) {
    state_->application = std::make_unique<QApplication>(state_->argc, state_->argv);
  }
  // The working directory becomes the folder that holds the executable.
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) std::filesystem::current_path(program.parent_path(), error);
}

GuiThread::~GuiThread() { DestroyMainWindow(); }

bool CreateMainWindow(const WindowDescription& description, WindowEvents events) {
  DestroyMainWindow();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  MainWindow& main = TheWindow();
  main.events = std::move(events);
  main.window = std::make_unique<QWidget>(
      nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QWidget* window = main.window.get();
  window->setObjectName(QStringLiteral("mainWindow"));
  window->setWindowTitle(FromText(description.caption));
  window->setWindowIcon(ProgramIcon());
  window->setFixedSize(description.width - 2 * kFrameSide,
                       description.height - kFrameTop - kFrameBottom);

  QWidget* previousTabStop = nullptr;
  int index = 0;
  for (const ControlDescription& control : description.controls) {
    QWidget* widget = CreateControl(window, control, index++);
    main.controls.push_back(widget);
    if (control.tabStop) {
      if (previousTabStop != nullptr) QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    }
  }
  if (main.events.created) main.events.created();

  // Centred on the whole primary screen, frame included.
  if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - description.width) / 2,
                 area.y() + (area.height() - description.height) / 2);
  }
  window->show();
  for (std::size_t i = 0; i < main.controls.size(); ++i) {
    if (description.controls[i].tabStop) {
      main.controls[i]->setFocus();
      break;
    }
  }
  return true;
}

void RunMessageLoop() {
  if (TheWindow().window && TheWindow().window->isVisible()) QApplication::exec();
}

Text GetControlText(int control) {
  QWidget* widget = ControlWidget(control);
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    // Lines of a multi-line box are separated by CR LF, as in a Windows edit.
    return ToText(edit->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
  }
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return ToText(edit->text());
  if (auto* button = qobject_cast<QPushButton*>(widget)) return ToText(button->text());
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return ToText(group->title());
  return Text();
}

void SetControlText(int control, const Text& text) {
  QWidget* widget = ControlWidget(control);
  const QString value = FromText(text.view());
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
    edit->setPlainText(QString(value).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(value);
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(value);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(value);
  }
}

void ShowMessageBox(const Text& text, const Text& caption) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  QMessageBox box(QMessageBox::NoIcon, FromText(caption.view()), FromText(text.view()),
                  QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace quorvel::platform
