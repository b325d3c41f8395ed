#include "textkit/text.h"

#include <cstring>

namespace quorvel {

Text::Text(const char* zeroTerminated) {
  if (zeroTerminated != nullptr) bytes_.assign(zeroTerminated);
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
  if (const auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
}

}  // namespace quorvel
