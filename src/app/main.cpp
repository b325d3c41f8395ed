// Quorvel: one window that turns a share page's address into the shared file's download address.
#include "app/commands.h"
#include "app/main_window.h"

int main() {
  return quorvel::RunMainWindow({
      .resolve = {},
      .copy = quorvel::CopyResult,
      .openInBrowser = quorvel::OpenResultInBrowser,
  });
}
