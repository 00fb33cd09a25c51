// Results files of any content: refused, or at most 26 finite means that write
// back to a text reading back to the same text.
#include "ResultsFile.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    reactimer::StageResults results;
    if (!reactimer::ReadResults(text, results))
        return 0;
    if (results.nums < 0 || results.nums > reactimer::kMaxStages)
        std::abort();
    for (int k = 0; k < results.nums; ++k) {
        const double m = results.means[static_cast<size_t>(k)];
        if (!std::isfinite(m))
            std::abort();
    }
    const std::string written = reactimer::WriteResults(results.means, results.nums);
    reactimer::StageResults again;
    if (!reactimer::ReadResults(written, again) || again.nums != results.nums ||
        reactimer::WriteResults(again.means, again.nums) != written)
        std::abort();
    return 0;
}
