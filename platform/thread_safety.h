// A mutex the compiler can reason about: with clang and -Wthread-safety, members marked
// CVX_GUARDED_BY(m) may be touched only while m is held, and functions marked CVX_REQUIRES(m)
// only be called with m held. Other compilers see plain code.
#pragma once

#include <mutex>

#if defined(__clang__)
#define CVX_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define CVX_THREAD_ANNOTATION(x)
#endif

#define CVX_CAPABILITY(name) CVX_THREAD_ANNOTATION(capability(name))
#define CVX_SCOPED_CAPABILITY CVX_THREAD_ANNOTATION(scoped_lockable)
#define CVX_GUARDED_BY(m) CVX_THREAD_ANNOTATION(guarded_by(m))
#define CVX_REQUIRES(...) CVX_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define CVX_EXCLUDES(...) CVX_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define CVX_ACQUIRE(...) CVX_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define CVX_RELEASE(...) CVX_THREAD_ANNOTATION(release_capability(__VA_ARGS__))

namespace cvx {

// std::mutex with the annotations; a std::condition_variable_any waits on it directly.
class CVX_CAPABILITY("mutex") Mutex {
  public:
    void lock() CVX_ACQUIRE() { mutex_.lock(); }
    void unlock() CVX_RELEASE() { mutex_.unlock(); }

  private:
    std::mutex mutex_;
};

// Holds a Mutex for its lifetime.
class CVX_SCOPED_CAPABILITY MutexLock {
  public:
    explicit MutexLock(Mutex& mutex) CVX_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
    ~MutexLock() CVX_RELEASE() { mutex_.unlock(); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

  private:
    Mutex& mutex_;
};

} // namespace cvx
