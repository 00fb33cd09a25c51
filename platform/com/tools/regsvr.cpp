// Registers or unregisters an in-process component server in the registry
// store by calling its own entry point:
//   regsvr [/u] [/s] <server library>
// /u unregisters, /s says nothing on success. The exit status is 0 on
// success, 3 when the library cannot be loaded, 4 when it lacks the entry
// point, 5 when the entry point fails, and 1 on a wrong command line.

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

#include "Activation.h"

namespace {

bool IsOption(const char* arg, char letter) {
    return (arg[0] == '/' || arg[0] == '-') && (arg[1] == letter || arg[1] == (letter - 32)) &&
           arg[2] == '\0';
}

} // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool silent = false;
    const char* library = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (IsOption(argv[i], 'u'))
            unregister = true;
        else if (IsOption(argv[i], 's'))
            silent = true;
        else if (!library)
            library = argv[i];
        else
            library = nullptr, i = argc;
    }
    if (!library) {
        std::fprintf(stderr, "usage: regsvr [/u] [/s] <server library>\n");
        return 1;
    }

    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    // A path without a slash would be searched for; name the file itself.
    const std::string path = std::strchr(library, '/') ? library : std::string("./") + library;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "LoadLibrary(\"%s\") failed: %s\n", library, ::dlerror());
        return 3;
    }
    auto fn = reinterpret_cast<com::DllRegisterServerFn>(::dlsym(handle, entry));
    if (!fn) {
        std::fprintf(stderr, "%s was loaded, but the %s entry point was not found.\n", library,
                     entry);
        ::dlclose(handle);
        return 4;
    }
    const com::HRESULT hr = fn();
    ::dlclose(handle);
    if (com::FAILED(hr)) {
        std::fprintf(stderr, "%s in %s failed.\nReturn code was: 0x%08x\n", entry, library,
                     static_cast<unsigned>(hr));
        return 5;
    }
    if (!silent)
        std::printf("%s in %s succeeded.\n", entry, library);
    return 0;
}
