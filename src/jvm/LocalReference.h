// A JNI local reference released when it goes out of scope.
#pragma once

#include "jvm/Jni.h"

// The Java main thread lives as long as the application, so local references it makes
// would otherwise never be freed.
template <typename Reference> class LocalReference {
public:
    LocalReference(JNIEnv* env, Reference reference) : env_(env), reference_(reference) {}
    ~LocalReference() {
        if (reference_)
            env_->DeleteLocalRef(reference_);
    }
    LocalReference(const LocalReference&) = delete;
    LocalReference& operator=(const LocalReference&) = delete;

    Reference get() const { return reference_; }
    explicit operator bool() const { return reference_ != nullptr; }

private:
    JNIEnv* env_;
    Reference reference_;
};
