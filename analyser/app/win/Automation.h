// Late-bound OLE Automation: an IDispatch object reached by member names, as
// a script would. Each call asks the object for the name's id and invokes it;
// a failure throws EOleError, which the caller catches before any window
// procedure or COM method boundary.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <stdexcept>
#include <string>

#include "classlib/win/ComPtr.h"

namespace foldwick {

class EOleError : public std::runtime_error {
 public:
  EOleError(const std::string& what, HRESULT result) : std::runtime_error(what), Result(result) {}
  HRESULT Result;
};

// An owned VARIANT, cleared when it goes.
class TVariant {
 public:
  TVariant() { VariantInit(&v_); }
  TVariant(bool value);
  TVariant(int value);
  TVariant(const char* value);
  TVariant(const std::string& value) : TVariant(value.c_str()) {}
  TVariant(const TVariant& o);
  TVariant& operator=(const TVariant& o);
  ~TVariant() { VariantClear(&v_); }

  VARIANT* Get() { return &v_; }
  const VARIANT* Get() const { return &v_; }

 private:
  VARIANT v_;
};

class TAutoObject {
 public:
  TAutoObject() = default;
  explicit TAutoObject(classlib::TComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

  // A new object of the class registered under `progId`.
  static TAutoObject Create(const char* progId);

  // Property get with optional arguments, the result an object.
  TAutoObject Get(const char* name, std::initializer_list<TVariant> args = {}) const;
  void Put(const char* name, const TVariant& value) const;
  // A method call; its result, when an object, is returned (else empty).
  TAutoObject Call(const char* name, std::initializer_list<TVariant> args = {}) const;

  IDispatch* Dispatch() const { return dispatch_.Get(); }
  explicit operator bool() const { return static_cast<bool>(dispatch_); }

 private:
  void Invoke(const char* name, WORD flags, std::initializer_list<TVariant> args, const TVariant* put,
              TVariant* result) const;
  classlib::TComPtr<IDispatch> dispatch_;
};

}  // namespace foldwick
