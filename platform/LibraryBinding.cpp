#include "LibraryBinding.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {

namespace {

struct Libraries {
    std::mutex mutex;
    std::map<std::string, void*, std::less<>> handles; // by file, never unloaded
    BindingFailureHandler handler;
    std::vector<const BoundEntry*> entries; // every BoundEntry that exists
};

Libraries& Shared() {
    static Libraries libraries;
    return libraries;
}

void StopProgram(const BindingFailure& failure) {
    std::fprintf(stderr, "%s\n", failure.message.c_str());
    std::exit(1);
}

void Fail(BindingFailure failure) {
    BindingFailureHandler handler;
    {
        std::lock_guard lock(Shared().mutex);
        handler = Shared().handler;
    }
    if (handler)
        handler(failure);
    else
        StopProgram(failure);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? char(tail[i] - 'A' + 'a') : tail[i];
        if (c != suffix[i])
            return false;
    }
    return true;
}

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error) : executable.parent_path();
}

std::string DlError() {
    const char* error = ::dlerror();
    return error ? error : "unknown error";
}

} // namespace

BindingFailureHandler SetBindingFailureHandler(BindingFailureHandler handler) {
    std::lock_guard lock(Shared().mutex);
    return std::exchange(Shared().handler, std::move(handler));
}

std::filesystem::path LibraryPath(std::string_view library) {
    if (library.find('/') != std::string_view::npos)
        return std::filesystem::path(library);
    std::string file(library);
    if (EndsWithNoCase(file, ".dll"))
        file.resize(file.size() - 4);
    if (!(file.starts_with("lib") && file.ends_with(".so")))
        file = "lib" + file + ".so";
    return ExecutableFolder() / file;
}

void* BindEntry(std::string_view library, std::string_view entry) {
    const std::string file = LibraryPath(library).string();
    const std::string name(entry);
    std::string message;
    {
        Libraries& shared = Shared();
        std::lock_guard lock(shared.mutex);
        auto it = shared.handles.find(file);
        if (it == shared.handles.end()) {
            void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle)
                it = shared.handles.emplace(file, handle).first;
            else
                message = "Cannot load the library \"" + file + "\" to call \"" + name +
                          "\": " + DlError();
        }
        if (it != shared.handles.end()) {
            ::dlerror();
            if (void* address = ::dlsym(it->second, name.c_str()))
                return address;
            message = "The library \"" + file + "\" has no entry \"" + name + "\"";
        }
    }
    Fail({file, name, message});
    return nullptr;
}

BoundEntry::BoundEntry(std::string library, std::string entry)
    : library_(std::move(library)), entry_(std::move(entry)) {
    std::lock_guard lock(Shared().mutex);
    Shared().entries.push_back(this);
}

BoundEntry::~BoundEntry() {
    std::lock_guard lock(Shared().mutex);
    std::erase(Shared().entries, this);
}

bool BoundEntry::Bind() const {
    if (Address() != nullptr)
        return true;
    void* const address = BindEntry(library_, entry_);
    if (address == nullptr)
        return false;
    address_.store(address, std::memory_order_release);
    return true;
}

bool BindLibrary(std::string_view library) {
    const std::filesystem::path file = LibraryPath(library);
    std::vector<const BoundEntry*> declared;
    {
        std::lock_guard lock(Shared().mutex);
        declared = Shared().entries;
    }
    bool all = true;
    for (const BoundEntry* entry : declared) {
        if (LibraryPath(entry->Library()) == file && !entry->Bind())
            all = false;
    }
    return all;
}

} // namespace platform
