#pragma once

#include <pthread.h>

namespace fractalux {

// A reader-writer lock under which a waiting writer goes first, so that a client showing the image
// over and over from a callback never holds off a call that changes what it shows. Meets the
// shared mutex requirements, for std::unique_lock and std::shared_lock; not recursive.
class PictureLock {
public:
    PictureLock() {
        pthread_rwlockattr_t attributes;
        pthread_rwlockattr_init(&attributes);
        pthread_rwlockattr_setkind_np(&attributes, PTHREAD_RWLOCK_PREFER_WRITER_NONRECURSIVE_NP);
        pthread_rwlock_init(&lock_, &attributes);
        pthread_rwlockattr_destroy(&attributes);
    }
    PictureLock(const PictureLock&) = delete;
    PictureLock& operator=(const PictureLock&) = delete;
    ~PictureLock() { pthread_rwlock_destroy(&lock_); }

    void lock() { pthread_rwlock_wrlock(&lock_); }
    void unlock() { pthread_rwlock_unlock(&lock_); }
    void lock_shared() { pthread_rwlock_rdlock(&lock_); }
    void unlock_shared() { pthread_rwlock_unlock(&lock_); }

private:
    pthread_rwlock_t lock_;
};

} // namespace fractalux
