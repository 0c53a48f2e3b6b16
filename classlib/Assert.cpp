// The assertion handler: print and abort unless a test installed its own.
#include "classlib/Assert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace classlib {

namespace {

void DefaultAssertHandler(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s (%s:%d)\n", condition, file, line);
  std::fflush(stderr);
  std::abort();
}

std::atomic<TAssertHandler> gHandler{DefaultAssertHandler};

}  // namespace

TAssertHandler SetAssertHandler(TAssertHandler handler) {
  return gHandler.exchange(handler != nullptr ? handler : DefaultAssertHandler);
}

void AssertFailed(const char* condition, const char* file, int line) { gHandler.load()(condition, file, line); }

}  // namespace classlib
