#include "system/windows/mutex_instance.h"

#include <windows.h>

namespace quorvel {

MutexInstance::MutexInstance(std::wstring name) : name_(std::move(name)) {
}

MutexInstance::~MutexInstance() {
    if (mutex_ != nullptr) {
        ::CloseHandle(mutex_);
    }
}

bool MutexInstance::acquire() {
    if (mutex_ != nullptr) {
        return true;
    }
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name_.c_str());
    if (mutex == nullptr) {
        return false;
    }
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

} // namespace quorvel
