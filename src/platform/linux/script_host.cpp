// The script host over Duktape, standing in for the Windows Script Control and its JScript
// engine. Duktape's ECMAScript includes the Annex B functions escape and unescape, which JScript
// has too. There is no COM on Linux, so its initialisation does nothing.
//
// Duktape keeps strings in CESU-8: each UTF-16 unit, surrogates included, as one UTF-8 sequence.
// Texts are converted to and from that form at the boundary.
#include "platform/script_host.h"

#include <duktape.h>

#include <array>
#include <string>

namespace quorvel::platform {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

// The identifiers under which the Script Control is registered on Windows.
constexpr std::array<std::u16string_view, 3> kScriptControlIds = {
    u"ScriptControl", u"MSScriptControl.ScriptControl", u"MSScriptControl.ScriptControl.1"};
// The names under which the JScript engine is registered on Windows.
constexpr std::array<std::u16string_view, 4> kJScriptNames = {u"JScript", u"JavaScript",
                                                              u"ECMAScript", u"LiveScript"};

char16_t AsciiLower(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + 32 : unit; }

// Registry names compare without regard to ASCII case.
template <std::size_t n>
bool IsOneOf(std::u16string_view name, const std::array<std::u16string_view, n>& names) {
  for (std::u16string_view candidate : names) {
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      same = AsciiLower(candidate[i]) == AsciiLower(name[i]);
    }
    if (same) return true;
  }
  return false;
}

std::string ToCesu8(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size());
  for (const char16_t unit : units) {
    if (unit < 0x80) {
      bytes.push_back(static_cast<char>(unit));
    } else if (unit < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (unit >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xE0 | (unit >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((unit >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (unit & 0x3F)));
    }
  }
  return bytes;
}

// Duktape's strings as UTF-16: CESU-8 and UTF-8 sequences alike become their units; anything
// malformed becomes U+FFFD.
std::u16string FromDuktapeString(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    }
    bool wellFormed = length > 0 && i + length <= bytes.size();
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      wellFormed = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!wellFormed || code > 0x10FFFF) {
      units.push_back(kReplacementCharacter);
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
    i += length;
  }
  return units;
}

struct DestroyHeap {
  void operator()(duk_context* context) const { duk_destroy_heap(context); }
};

}  // namespace

std::int32_t CoInitialize() { return 0; }  // S_OK

void CoUninitialize() {}

// The engine's context exists once a language is set; setting it again starts a fresh one.
struct ScriptHost::Object {
  std::unique_ptr<duk_context, DestroyHeap> context;
};

ScriptHost::ScriptHost(std::u16string_view progId) {
  if (IsOneOf(progId, kScriptControlIds)) object_ = std::make_unique<Object>();
}

ScriptHost::~ScriptHost() = default;
ScriptHost::ScriptHost(ScriptHost&&) noexcept = default;
ScriptHost& ScriptHost::operator=(ScriptHost&&) noexcept = default;

bool ScriptHost::created() const noexcept { return object_ != nullptr; }

bool ScriptHost::SetLanguage(std::u16string_view language) {
  if (!object_ || !IsOneOf(language, kJScriptNames)) return false;
  std::unique_ptr<duk_context, DestroyHeap> context(duk_create_heap_default());
  if (!context) return false;
  object_->context = std::move(context);
  return true;
}

bool ScriptHost::ExecuteStatement(std::u16string_view statement) {
  if (!object_ || !object_->context) return false;
  const std::string source = ToCesu8(statement);
  return duk_peval_lstring_noresult(object_->context.get(), source.data(), source.size()) == 0;
}

std::optional<std::u16string> ScriptHost::Run(std::u16string_view procedureName) {
  if (!object_ || !object_->context) return std::nullopt;
  duk_context* const context = object_->context.get();
  const std::string name = ToCesu8(procedureName);
  std::optional<std::u16string> result;
  duk_get_global_lstring(context, name.data(), name.size());
  if (!duk_is_callable(context, -1)) {
    duk_pop(context);
    return std::nullopt;
  }
  if (duk_pcall(context, 0) == DUK_EXEC_SUCCESS) {
    // As an automation result turned into a string: undefined is the empty string, null has no
    // string form, and true and false are the VARIANT_BOOL values -1 and 0.
    if (duk_is_undefined(context, -1)) {
      result = std::u16string();
    } else if (duk_is_boolean(context, -1)) {
      result = duk_get_boolean(context, -1) ? u"-1" : u"0";
    } else if (!duk_is_null(context, -1)) {
      duk_size_t length = 0;
      const char* text = duk_safe_to_lstring(context, -1, &length);
      result = FromDuktapeString(std::string_view(text, length));
    }
  }
  duk_pop(context);
  return result;
}

}  // namespace quorvel::platform
