// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's event queue hands an object from one thread to another through locks
// that ThreadSanitizer cannot see (Qt is not built with it). These mark such
// a hand-off for it: the sender releases the object once it is complete, the
// receiver acquires it before reading. Nothing in other builds.
#if defined(__SANITIZE_THREAD__)
#define LUMENARK_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define LUMENARK_TSAN 1
#endif
#endif

#ifdef LUMENARK_TSAN
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace platform {

inline void handOffRelease([[maybe_unused]] const void* object) {
#ifdef LUMENARK_TSAN
  __tsan_release(const_cast<void*>(object));
#endif
}

inline void handOffAcquire([[maybe_unused]] const void* object) {
#ifdef LUMENARK_TSAN
  __tsan_acquire(const_cast<void*>(object));
#endif
}

} // namespace platform
