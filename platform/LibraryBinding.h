#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Calling the functions of a library by their exported names, the way a
// program calls a library it names ("Population.dll"): the library is loaded
// on the first call of any of its functions, and each function is looked up
// on its own first call and its address kept. A library or entry that cannot
// be found goes to the failure handler, which by default stops the program.

namespace platform {

struct BindingFailure {
    std::string library; // the library file
    std::string entry;   // the exported name looked up
    std::string message; // names both
};

using BindingFailureHandler = std::function<void(const BindingFailure&)>;

// Installs the handler of binding failures and gives back the previous one;
// an empty handler restores the default, which writes the message to stderr
// and ends the program with exit code 1. When a handler returns, the call
// that failed does nothing and gives a value-initialised result.
BindingFailureHandler SetBindingFailureHandler(BindingFailureHandler handler);

// The file a library name stands for: a name with a "/" is a path used as it
// stands; otherwise "Name.dll" (or "Name") is libName.so and "libName.so"
// itself, in the folder of the running executable.
std::filesystem::path LibraryPath(std::string_view library);

// The address of entry in library, loading the library once per process;
// nullptr after the failure handler has returned.
void* BindEntry(std::string_view library, std::string_view entry);

template <typename Signature> class BoundFunction;

// A function of a library, called with its declared type and bound on first call.
template <typename R, typename... Args> class BoundFunction<R(Args...)> {
public:
    using Pointer = R (*)(Args...);

    BoundFunction(std::string library, std::string entry)
        : library_(std::move(library)), entry_(std::move(entry)) {}
    BoundFunction(const BoundFunction&) = delete;
    BoundFunction& operator=(const BoundFunction&) = delete;

    R operator()(Args... args) const {
        Pointer function = address_.load(std::memory_order_acquire);
        if (!function) {
            function = reinterpret_cast<Pointer>(BindEntry(library_, entry_));
            if (!function)
                return R();
            address_.store(function, std::memory_order_release);
        }
        return function(args...);
    }

    // The kept address, nullptr until a call has bound it.
    Pointer Bound() const { return address_.load(std::memory_order_acquire); }
    const std::string& Library() const { return library_; }
    const std::string& Entry() const { return entry_; }

private:
    std::string library_;
    std::string entry_;
    mutable std::atomic<Pointer> address_{nullptr};
};

} // namespace platform
