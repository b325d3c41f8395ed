// Shell open on Linux: the desktop's handler for the address, through Qt.
#include "platform/shell.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/linux/qt_text.h"

namespace quorvel::platform {

void ShellOpen(const Text& target) {
  QString address = qt::FromText(target.view());
  // A browser on Windows reads a backslash in the address's path as a slash; the desktop's
  // browser here would not, so the address reaches it with slashes.
  for (qsizetype i = 0; i < address.size() && address[i] != u'?' && address[i] != u'#'; ++i) {
    if (address[i] == u'\\') address[i] = u'/';
  }
  QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

}  // namespace quorvel::platform
