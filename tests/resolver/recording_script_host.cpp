#include "recording_script_host.h"

#include "platform/script_host.h"

namespace quorvel {

testing_support::ScriptHostScript& testing_support::RecordedScriptHost() {
  static ScriptHostScript script;
  return script;
}

namespace platform {
namespace {

void Record(std::u16string_view call, std::u16string_view argument = {}) {
  std::u16string entry(call);
  if (!argument.empty()) entry.append(u" ").append(argument);
  testing_support::RecordedScriptHost().calls.push_back(std::move(entry));
}

}  // namespace

std::int32_t CoInitialize() {
  Record(u"CoInitialize");
  return testing_support::RecordedScriptHost().coInitializeResult;
}

void CoUninitialize() { Record(u"CoUninitialize"); }

struct ScriptHost::Object {};

ScriptHost::ScriptHost(std::u16string_view progId) {
  Record(u"Create", progId);
  if (testing_support::RecordedScriptHost().creates) object_ = std::make_unique<Object>();
}

ScriptHost::~ScriptHost() {
  if (object_) Record(u"Release");
}

ScriptHost::ScriptHost(ScriptHost&&) noexcept = default;
ScriptHost& ScriptHost::operator=(ScriptHost&&) noexcept = default;

bool ScriptHost::created() const noexcept { return object_ != nullptr; }

bool ScriptHost::SetLanguage(std::u16string_view language) {
  Record(u"Language", language);
  return created();
}

bool ScriptHost::ExecuteStatement(std::u16string_view statement) {
  Record(u"ExecuteStatement", statement);
  return created();
}

std::optional<std::u16string> ScriptHost::Run(std::u16string_view procedureName) {
  Record(u"Run", procedureName);
  if (!created()) return std::nullopt;
  return testing_support::RecordedScriptHost().runResult;
}

}  // namespace platform
}  // namespace quorvel
