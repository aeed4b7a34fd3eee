#include "engines/pattern/ComDispatch.h"

#include <climits>
#include <vector>

namespace qova {
namespace {

// Members are looked up by name at every call, with the user's locale.
bool memberId(IDispatch* object, const wchar_t* name, DISPID& id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

}  // namespace

UniqueVariant& UniqueVariant::operator=(UniqueVariant&& other) noexcept {
  if (this != &other) {
    ::VariantClear(&value_);
    value_ = other.value_;
    ::VariantInit(&other.value_);
  }
  return *this;
}

VARIANT* UniqueVariant::put() {
  ::VariantClear(&value_);
  return &value_;
}

UniqueVariant UniqueVariant::text(std::wstring_view text) {
  UniqueVariant v;
  if (text.size() > UINT_MAX) return v;
  BSTR string = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!string) return v;
  v.value_.vt = VT_BSTR;
  v.value_.bstrVal = string;
  return v;
}

UniqueVariant UniqueVariant::boolean(bool value) {
  UniqueVariant v;
  v.value_.vt = VT_BOOL;
  v.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

UniqueVariant UniqueVariant::number(double value) {
  UniqueVariant v;
  v.value_.vt = VT_R8;
  v.value_.dblVal = value;
  return v;
}

UniqueVariant UniqueVariant::integer(long value) {
  UniqueVariant v;
  v.value_.vt = VT_I4;
  v.value_.lVal = value;
  return v;
}

std::wstring UniqueVariant::toText() const {
  UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), const_cast<VARIANT*>(&value_), 0, VT_BSTR)) || !converted.value_.bstrVal) return {};
  return std::wstring(converted.value_.bstrVal, ::SysStringLen(converted.value_.bstrVal));
}

double UniqueVariant::toNumber() const {
  UniqueVariant converted;
  if (FAILED(::VariantChangeType(converted.put(), const_cast<VARIANT*>(&value_), 0, VT_R8))) return 0;
  return converted.value_.dblVal;
}

ComPtr<IDispatch> UniqueVariant::toDispatch() const {
  ComPtr<IDispatch> object;
  if (value_.vt == VT_DISPATCH && value_.pdispVal) {
    value_.pdispVal->AddRef();
    object = ComPtr<IDispatch>::adopt(value_.pdispVal);
  }
  return object;
}

bool putMember(IDispatch* object, const wchar_t* name, const UniqueVariant& value) {
  DISPID id = DISPID_UNKNOWN;
  if (!object || !memberId(object, name, id)) return false;
  VARIANTARG argument = value.get();  // borrowed: Invoke does not take it over
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&argument, &named, 1, 1};
  return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                                  nullptr, nullptr));
}

UniqueVariant callMember(IDispatch* object, const wchar_t* name, std::initializer_list<const VARIANT*> args) {
  UniqueVariant result;
  DISPID id = DISPID_UNKNOWN;
  if (!object || !memberId(object, name, id)) return result;
  // Arguments go last to first; they are borrowed, Invoke does not free them.
  std::vector<VARIANTARG> arguments;
  for (auto it = args.end(); it != args.begin();) arguments.push_back(**--it);
  DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  EXCEPINFO exception{};
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                    &params, result.put(), &exception, nullptr);
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
  if (FAILED(hr)) result.clear();
  return result;
}

}  // namespace qova
