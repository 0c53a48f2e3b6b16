// CL_ASSERT: the one check for broken invariants (a window that no longer
// exists, an index out of range). A failed check goes to the installed
// handler; the default one prints the failure and aborts the program, so a
// broken invariant is never carried on silently. Tests install a recording
// handler and then see the caller take its safe way out.
//
// The checks are compiled into every build we make; define
// CLASSLIB_NO_ASSERTS to leave them out (the condition is then not evaluated).
#pragma once

namespace classlib {

// Receives the failed condition's text and where it was checked.
using TAssertHandler = void (*)(const char* condition, const char* file, int line);

// Installs `handler` (null restores the default) and returns the previous one.
TAssertHandler SetAssertHandler(TAssertHandler handler);

// Reports a failed check to the installed handler.
void AssertFailed(const char* condition, const char* file, int line);

// True when `condition` holds; otherwise reports it and gives false, so that
// the caller can leave safely when the handler returns.
inline bool CheckInvariant(bool condition, const char* text, const char* file, int line) {
  if (!condition) AssertFailed(text, file, line);
  return condition;
}

}  // namespace classlib

#ifdef CLASSLIB_NO_ASSERTS
#define CL_ASSERT(condition) ((void)0)
#define CL_CHECK(condition) (static_cast<bool>(condition))
#else
// Statement form: reports when `condition` is false.
#define CL_ASSERT(condition) \
  ((condition) ? (void)0 : ::classlib::AssertFailed(#condition, __FILE__, __LINE__))
// Expression form: `if (!CL_CHECK(ok)) return;` reports and leaves.
#define CL_CHECK(condition) \
  (::classlib::CheckInvariant(static_cast<bool>(condition), #condition, __FILE__, __LINE__))
#endif
