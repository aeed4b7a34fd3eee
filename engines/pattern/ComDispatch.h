#pragma once
// Late binding to automation objects by member name, and an owner for VARIANT.
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/UniqueHandle.h"

namespace qova {

// Owns one VARIANT (and the string or object it holds).
class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  UniqueVariant(UniqueVariant&& other) noexcept : value_(other.value_) { ::VariantInit(&other.value_); }
  UniqueVariant& operator=(UniqueVariant&& other) noexcept;
  ~UniqueVariant() { ::VariantClear(&value_); }

  // A VT_BSTR copy of text (an empty string, not a null one, for empty text).
  static UniqueVariant text(std::wstring_view text);
  static UniqueVariant boolean(bool value);
  static UniqueVariant number(double value);
  static UniqueVariant integer(long value);

  const VARIANT& get() const { return value_; }
  // Clears the value and hands it out for filling.
  VARIANT* put();
  void clear() { ::VariantClear(&value_); }

  // The value as text the way automation converts it (booleans as "0" and
  // "-1"); empty when it has none or cannot be converted.
  std::wstring toText() const;
  // The value as a double; 0 when it cannot be converted.
  double toNumber() const;
  // The object it holds; empty when it holds none.
  ComPtr<IDispatch> toDispatch() const;

 private:
  VARIANT value_;
};

// Writes property name of object; false when the object has no such
// member or refuses the value.
bool putMember(IDispatch* object, const wchar_t* name, const UniqueVariant& value);

// Reads property name, or calls method name with args, of object; the
// empty VARIANT on any failure (no object, unknown member, error raised).
UniqueVariant callMember(IDispatch* object, const wchar_t* name, std::initializer_list<const VARIANT*> args = {});

}  // namespace qova
