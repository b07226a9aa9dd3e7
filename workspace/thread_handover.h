#pragma once

// Work handed to Qt's thread pool, and its result handed back, pass through locks inside Qt.
// The thread sanitizer does not see those (Qt is not built with it) and would take the hand-over
// for a race; these calls tell it of the hand-over. In every other build they are nothing.

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELLUMO_THREAD_SANITIZER 1
#endif
#endif

#ifdef VELLUMO_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace vellumo {

// Everything this thread did so far is seen by the thread that then calls takeOver(token).
inline void handOver([[maybe_unused]] const void* token) {
#ifdef VELLUMO_THREAD_SANITIZER
    __tsan_release(const_cast<void*>(token));
#endif
}

// The other half of handOver(token).
inline void takeOver([[maybe_unused]] const void* token) {
#ifdef VELLUMO_THREAD_SANITIZER
    __tsan_acquire(const_cast<void*>(token));
#endif
}

}  // namespace vellumo
