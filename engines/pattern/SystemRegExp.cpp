// The system's "VBScript.RegExp" object, late-bound by member names.
#include <windows.h>
#include <oleauto.h>

#include "engines/pattern/ComDispatch.h"
#include "engines/pattern/RegExpEngine.h"

namespace qova {
namespace {

class SystemRegExp final : public RegExpEngine {
 public:
  explicit SystemRegExp(ComPtr<IDispatch> engine) : engine_(std::move(engine)) {}

  void setOptions(bool ignoreCase, bool multiline, bool global) override {
    putMember(engine_.get(), L"IgnoreCase", UniqueVariant::boolean(ignoreCase));
    putMember(engine_.get(), L"Multiline", UniqueVariant::boolean(multiline));
    // The object has no such member: the write fails and "." keeps
    // stopping at line feeds. Kept, as the program always asked for it.
    putMember(engine_.get(), L"Singleline", UniqueVariant::boolean(true));
    putMember(engine_.get(), L"Global", UniqueVariant::boolean(global));
  }

  void setPattern(std::wstring_view pattern) override {
    putMember(engine_.get(), L"Pattern", UniqueVariant::text(pattern));
  }

  bool execute(const VARIANT& subject) override {
    matches_ = callMember(engine_.get(), L"Execute", {&subject}).toDispatch();
    return static_cast<bool>(matches_);
  }

  int matchCount() override { return static_cast<int>(callMember(matches_.get(), L"Count").toNumber()); }

  Found match(long long index) override {
    ComPtr<IDispatch> m = item(index);
    return {callMember(m.get(), L"Value").toText(), firstIndex(m.get())};
  }

  Found group(long long index, long long group) override {
    ComPtr<IDispatch> m = item(index);
    ComPtr<IDispatch> groups = callMember(m.get(), L"SubMatches").toDispatch();
    const UniqueVariant number = UniqueVariant::number(static_cast<double>(group));
    return {callMember(groups.get(), L"Item", {&number.get()}).toText(), firstIndex(m.get())};
  }

  int groupCount() override {
    const UniqueVariant first = UniqueVariant::integer(0);
    ComPtr<IDispatch> m = callMember(matches_.get(), L"Item", {&first.get()}).toDispatch();
    ComPtr<IDispatch> groups = callMember(m.get(), L"SubMatches").toDispatch();
    return static_cast<int>(callMember(groups.get(), L"Count").toNumber());
  }

  std::wstring replace(const VARIANT& subject, std::wstring_view replacement) override {
    const UniqueVariant with = UniqueVariant::text(replacement);
    return callMember(engine_.get(), L"Replace", {&subject, &with.get()}).toText();
  }

  std::wstring pattern() override { return callMember(engine_.get(), L"Pattern").toText(); }

  std::wstring ignoreCaseText() override { return callMember(engine_.get(), L"IgnoreCase").toText(); }

 private:
  // Match index of the collection, the number passed as a double.
  ComPtr<IDispatch> item(long long index) {
    const UniqueVariant number = UniqueVariant::number(static_cast<double>(index));
    return callMember(matches_.get(), L"Item", {&number.get()}).toDispatch();
  }

  static long firstIndex(IDispatch* match) {
    return static_cast<long>(callMember(match, L"FirstIndex").toNumber());
  }

  ComPtr<IDispatch> engine_;
  ComPtr<IDispatch> matches_;
};

}  // namespace

std::unique_ptr<RegExpEngine> createSystemRegExp() {
  CLSID classId{};
  if (FAILED(::CLSIDFromProgID(L"VBScript.RegExp", &classId))) return nullptr;
  ComPtr<IDispatch> engine;
  if (FAILED(::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                engine.putVoid())) ||
      !engine)
    return nullptr;
  return std::make_unique<SystemRegExp>(std::move(engine));
}

}  // namespace qova
