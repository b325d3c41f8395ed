// Conversions between the program's code-page-936 texts and Qt's Unicode strings, used wherever a
// text crosses into Qt: characters that code page 936 lacks become '?', as on Windows.
#pragma once

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <string>
#include <string_view>

#include "textkit/text.h"

namespace quorvel::platform::qt {

inline QString FromText(std::string_view bytes) {
  QStringDecoder decoder("windows-936");
  return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

inline Text ToText(const QString& text) {
  QStringEncoder encoder("windows-936");
  const QByteArray bytes = encoder.encode(text);
  return Text(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace quorvel::platform::qt
