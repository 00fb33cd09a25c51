#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Calling the functions of a library by their exported names, the way a
// program calls a library it names ("Population.dll"): the library is loaded
// on the first call of any of its functions, and each function is looked up
// on its own first call and its address kept. BindLibrary binds every function
// declared for a library at once, so that a program can report a missing
// library or entry at start-up instead of at its first use. A library or entry
// that cannot be found goes to the failure handler, which by default stops the
// program (SetBindingFailureBox of the window layer shows a message box first).

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

// One exported function of a library, bound on its first call or by
// BindLibrary; its address is kept. While it exists, it is one of the entries
// that BindLibrary binds for its library.
class BoundEntry {
public:
    BoundEntry(std::string library, std::string entry);
    ~BoundEntry();
    BoundEntry(const BoundEntry&) = delete;
    BoundEntry& operator=(const BoundEntry&) = delete;

    // Binds the entry unless it is bound; false after the failure handler returned.
    bool Bind() const;
    const std::string& Library() const { return library_; }
    const std::string& Entry() const { return entry_; }

protected:
    void* Address() const { return address_.load(std::memory_order_acquire); }

private:
    std::string library_;
    std::string entry_;
    mutable std::atomic<void*> address_{nullptr};
};

// Binds every entry declared for `library` (a name as LibraryPath takes it)
// that is not bound yet; true when all are. Each entry that fails goes to the
// failure handler; when the handler returns, the others are still tried.
bool BindLibrary(std::string_view library);

template <typename Signature> class BoundFunction;

// A function of a library, called with its declared type and bound on first call.
template <typename R, typename... Args> class BoundFunction<R(Args...)> : public BoundEntry {
public:
    using Pointer = R (*)(Args...);

    BoundFunction(std::string library, std::string entry)
        : BoundEntry(std::move(library), std::move(entry)) {}

    R operator()(Args... args) const {
        void* address = Address();
        if (address == nullptr) {
            if (!Bind())
                return R();
            address = Address();
        }
        return reinterpret_cast<Pointer>(address)(args...);
    }

    // The kept address, nullptr until the entry has been bound.
    Pointer Bound() const { return reinterpret_cast<Pointer>(Address()); }
};

} // namespace platform
