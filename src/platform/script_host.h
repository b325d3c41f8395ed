// COM initialisation and the script host: an automation object, created by its programmatic
// identifier, that compiles script text and calls the script's functions. The program uses
// "ScriptControl" with the language "JScript". Texts cross as UTF-16.
//
// Every call reports only whether it worked; a call that fails changes nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {

// Initialises COM for the calling thread; an HRESULT (S_OK, S_FALSE when it already was, or an
// error). Each call that does not fail is matched by one CoUninitialize.
std::int32_t CoInitialize();
void CoUninitialize();

// One script host object, released when the ScriptHost goes. COM must be initialised on the
// thread for as long as the object lives.
class ScriptHost {
 public:
  // Creates the object registered under `progId`. When that fails, created() is false and every
  // call below fails.
  explicit ScriptHost(std::u16string_view progId);
  ~ScriptHost();
  ScriptHost(ScriptHost&&) noexcept;
  ScriptHost& operator=(ScriptHost&&) noexcept;
  ScriptHost(const ScriptHost&) = delete;
  ScriptHost& operator=(const ScriptHost&) = delete;

  bool created() const noexcept;

  // Sets the property "Language", which picks the script engine and starts it afresh.
  bool SetLanguage(std::u16string_view language);

  // The method "ExecuteStatement": compiles `statement` and runs it at global level. False when
  // no language is set or the statement does not compile or throws.
  bool ExecuteStatement(std::u16string_view statement);

  // The method "Run": calls the global function `procedureName` with no arguments and returns
  // its result as a string; nothing when there is no such function or it throws, or when the
  // result has no string form.
  std::optional<std::u16string> Run(std::u16string_view procedureName);

 private:
  struct Object;
  std::unique_ptr<Object> object_;
};

}  // namespace quorvel::platform
