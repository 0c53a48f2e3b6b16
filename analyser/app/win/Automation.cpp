// Late-bound Automation calls.
#include "analyser/app/win/Automation.h"

#include <oleauto.h>

#include <vector>

#include "analyser/app/win/FileListing.h"
#include "analyser/components/win/ShellBrowser.h"

namespace foldwick {

namespace {

void Check(HRESULT result, const std::string& what) {
  if (FAILED(result)) throw EOleError(what, result);
}

}  // namespace

TVariant::TVariant(bool value) : TVariant() {
  v_.vt = VT_BOOL;
  v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

TVariant::TVariant(int value) : TVariant() {
  v_.vt = VT_I4;
  v_.lVal = value;
}

TVariant::TVariant(const char* value) : TVariant() {
  // Texts are UTF-8: names outside the ANSI code page reach the server whole.
  const std::wstring wide = WideFromUtf8(value);
  v_.vt = VT_BSTR;
  v_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

TVariant::TVariant(const TVariant& o) : TVariant() { VariantCopy(&v_, const_cast<VARIANT*>(&o.v_)); }

TVariant& TVariant::operator=(const TVariant& o) {
  if (this != &o) VariantCopy(&v_, const_cast<VARIANT*>(&o.v_));
  return *this;
}

TAutoObject TAutoObject::Create(const char* progId) {
  CLSID clsid;
  Check(CLSIDFromProgID(WideFromAnsi(progId).c_str(), &clsid), std::string("no class ") + progId);
  classlib::TComPtr<IDispatch> dispatch;
  Check(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, dispatch.PutVoid()),
        std::string("cannot create ") + progId);
  return TAutoObject(std::move(dispatch));
}

void TAutoObject::Invoke(const char* name, WORD flags, std::initializer_list<TVariant> args, const TVariant* put,
                         TVariant* result) const {
  if (!dispatch_) throw EOleError(std::string("no object for ") + name, E_POINTER);
  std::wstring wide = WideFromAnsi(name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = 0;
  Check(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), std::string("no member ") + name);
  // Arguments go last to first; a property's new value is the named argument.
  std::vector<VARIANT> values;
  if (put != nullptr) values.push_back(*put->Get());
  for (auto it = args.end(); it != args.begin();) values.push_back(*(--it)->Get());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params = {values.data(), put != nullptr ? &putId : nullptr, static_cast<UINT>(values.size()),
                       put != nullptr ? 1u : 0u};
  EXCEPINFO exception = {};
  UINT badArgument = 0;
  const HRESULT hr =
      dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? result->Get() : nullptr, &exception,
                        &badArgument);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  Check(hr, std::string("call failed: ") + name);
}

namespace {

TAutoObject ObjectOf(TVariant& value) {
  VARIANT* v = value.Get();
  if (v->vt == VT_DISPATCH && v->pdispVal != nullptr) return TAutoObject(classlib::TComPtr<IDispatch>::Borrow(v->pdispVal));
  return TAutoObject();
}

}  // namespace

TAutoObject TAutoObject::Get(const char* name, std::initializer_list<TVariant> args) const {
  TVariant result;
  Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, nullptr, &result);
  TAutoObject object = ObjectOf(result);
  if (!object) throw EOleError(std::string("not an object: ") + name, DISP_E_TYPEMISMATCH);
  return object;
}

void TAutoObject::Put(const char* name, const TVariant& value) const {
  Invoke(name, DISPATCH_PROPERTYPUT, {}, &value, nullptr);
}

TAutoObject TAutoObject::Call(const char* name, std::initializer_list<TVariant> args) const {
  TVariant result;
  Invoke(name, DISPATCH_METHOD, args, nullptr, &result);
  return ObjectOf(result);
}

}  // namespace foldwick
