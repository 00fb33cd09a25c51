#include "Guid.h"

namespace com {

std::string StringFromGUID(const GUID& g) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(38);
    auto put = [&out](uint64_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            out.push_back(kDigits[(value >> shift) & 0xF]);
    };
    out.push_back('{');
    put(g.Data1, 8);
    out.push_back('-');
    put(g.Data2, 4);
    out.push_back('-');
    put(g.Data3, 4);
    out.push_back('-');
    put(g.Data4[0], 2);
    put(g.Data4[1], 2);
    out.push_back('-');
    for (int i = 2; i < 8; ++i)
        put(g.Data4[i], 2);
    out.push_back('}');
    return out;
}

} // namespace com
