// Quorvel: one window that turns a share page's address into the shared file's download address.
#include "app/commands.h"
#include "app/main_window.h"
#include "resolver/resolve.h"

int main() {
  // The last share page and the last resolved address, kept from start-up to exit.
  quorvel::ResolverState resolver;
  return quorvel::RunMainWindow({
      .resolve = [&resolver] { quorvel::ResolveShareLink(resolver); },
      .copy = quorvel::CopyResult,
      .openInBrowser = quorvel::OpenResultInBrowser,
  });
}
