// COM initialisation (ole32, bound by name) and the Windows Script Control, driven through its
// IDispatch interface by member name.
#include "platform/script_host.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string>

#include "platform/windows/bind_by_name.h"

namespace quorvel::platform {
namespace {

struct ReleaseInterface {
  void operator()(IUnknown* object) const { object->Release(); }
};
using DispatchRef = std::unique_ptr<IDispatch, ReleaseInterface>;

std::wstring WideOf(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// An automation string holding a copy of `text`.
class Bstr {
 public:
  explicit Bstr(std::u16string_view text) {
    const std::wstring wide = WideOf(text);
    bstr_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  ~Bstr() { SysFreeString(bstr_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;

  BSTR get() const { return bstr_; }

 private:
  BSTR bstr_;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// A one-dimensional SAFEARRAY of VARIANT without elements.
class EmptyVariantArray {
 public:
  EmptyVariantArray() : array_(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {}
  ~EmptyVariantArray() {
    if (array_ != nullptr) SafeArrayDestroy(array_);
  }
  EmptyVariantArray(const EmptyVariantArray&) = delete;
  EmptyVariantArray& operator=(const EmptyVariantArray&) = delete;

  SAFEARRAY** address() { return &array_; }
  bool ok() const { return array_ != nullptr; }

 private:
  SAFEARRAY* array_;
};

// Calls the member `name` of `object`. `arguments` are in reverse order, as IDispatch::Invoke
// takes them.
HRESULT InvokeByName(IDispatch& object, const wchar_t* name, WORD kind, VARIANT* arguments,
                     UINT argumentCount, VARIANT* result) {
  DISPID member = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
  if (FAILED(hr)) return hr;
  DISPID propertyPut = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {};
  parameters.rgvarg = arguments;
  parameters.cArgs = argumentCount;
  if (kind == DISPATCH_PROPERTYPUT) {
    parameters.rgdispidNamedArgs = &propertyPut;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO exception = {};
  UINT argumentError = 0;
  hr = object.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, &exception,
                     &argumentError);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

// Passes one string to the member `name`, as a method argument or as the new property value.
bool InvokeWithString(IDispatch& object, const wchar_t* name, WORD kind, std::u16string_view text) {
  const Bstr bstr(text);
  if (bstr.get() == nullptr) return false;
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = bstr.get();
  Variant result;
  return SUCCEEDED(InvokeByName(object, name, kind, &argument, 1,
                                kind == DISPATCH_PROPERTYPUT ? nullptr : result.get()));
}

}  // namespace

std::int32_t CoInitialize() {
  static auto* const coInitialize =
      windows::BindByName<decltype(::CoInitialize)>("ole32.dll", "CoInitialize");
  return coInitialize(nullptr);
}

void CoUninitialize() {
  static auto* const coUninitialize =
      windows::BindByName<decltype(::CoUninitialize)>("ole32.dll", "CoUninitialize");
  coUninitialize();
}

struct ScriptHost::Object {
  DispatchRef dispatch;
};

ScriptHost::ScriptHost(std::u16string_view progId) {
  const std::wstring id = WideOf(progId);
  CLSID classId;
  if (FAILED(CLSIDFromProgID(id.c_str(), &classId))) return;
  void* dispatch = nullptr;
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_IDispatch, &dispatch)) ||
      dispatch == nullptr) {
    return;
  }
  object_ = std::make_unique<Object>(Object{DispatchRef(static_cast<IDispatch*>(dispatch))});
}

ScriptHost::~ScriptHost() = default;
ScriptHost::ScriptHost(ScriptHost&&) noexcept = default;
ScriptHost& ScriptHost::operator=(ScriptHost&&) noexcept = default;

bool ScriptHost::created() const noexcept { return object_ != nullptr; }

bool ScriptHost::SetLanguage(std::u16string_view language) {
  return object_ &&
         InvokeWithString(*object_->dispatch, L"Language", DISPATCH_PROPERTYPUT, language);
}

bool ScriptHost::ExecuteStatement(std::u16string_view statement) {
  return object_ &&
         InvokeWithString(*object_->dispatch, L"ExecuteStatement", DISPATCH_METHOD, statement);
}

std::optional<std::u16string> ScriptHost::Run(std::u16string_view procedureName) {
  if (!object_) return std::nullopt;
  const Bstr name(procedureName);
  // Run takes the procedure's arguments as its second parameter, an array of VARIANT passed by
  // reference; Wine's Script Control refuses the call without it.
  EmptyVariantArray noArguments;
  if (name.get() == nullptr || !noArguments.ok()) return std::nullopt;
  VARIANT arguments[2];
  VariantInit(&arguments[0]);
  arguments[0].vt = VT_ARRAY | VT_VARIANT | VT_BYREF;
  arguments[0].pparray = noArguments.address();
  VariantInit(&arguments[1]);
  arguments[1].vt = VT_BSTR;
  arguments[1].bstrVal = name.get();
  Variant result;
  if (FAILED(
          InvokeByName(*object_->dispatch, L"Run", DISPATCH_METHOD, arguments, 2, result.get()))) {
    return std::nullopt;
  }
  if (result.get()->vt != VT_BSTR &&
      FAILED(VariantChangeType(result.get(), result.get(), 0, VT_BSTR))) {
    return std::nullopt;
  }
  const BSTR text = result.get()->bstrVal;
  return std::u16string(text, text + SysStringLen(text));
}

}  // namespace quorvel::platform
