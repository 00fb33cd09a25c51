// Prints the first n draws (default 8) of PRNGOpenDouble, bound as a program binds it, one per
// line in hexadecimal floating point.

#include "PrngLibrary.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 8;
    for (long i = 0; i < n; ++i) {
        std::printf("%a\n", platform::PRNGOpenDouble());
    }
    return 0;
}
