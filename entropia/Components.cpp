#include "Components.h"

#include "Conversions.h"

#include <charconv>
#include <cmath>

namespace entropia {

namespace {

bool Integral(double v) {
    return v == std::trunc(v);
}

// p * log2(p), 0 for p = 0.
double Term(double p) {
    return p > 0 ? p * std::log(p) / std::log(2.0) : 0;
}

// An integral value in exact decimal digits; zero has no sign.
std::string IntegerText(double v) {
    if (v == 0)
        return "0";
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 0).ptr;
    return std::string(buffer, end);
}

} // namespace

std::string FormatDecimal(double value, int n) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : value > 0 ? "Infinity" : "-Infinity";
    char buffer[400];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, n).ptr;
    std::string text(buffer, end);
    while (text.size() > 1 && text.back() == '0')
        text.pop_back();
    if (text.size() > 1 && text.back() == '.')
        text.pop_back();
    if (text == "-0")
        text = "0";
    return text;
}

Entry ReadEntry(std::string_view text) {
    const size_t slash = text.find('/');
    Entry e;
    const double a = platform::Val(text.substr(0, slash));
    if (slash != std::string_view::npos) {
        std::string_view second = text.substr(slash + 1);
        second = second.substr(0, second.find('/'));
        const double b = platform::Val(second);
        if (b != 0) {
            e.p = a / b;
            if (Integral(a) && Integral(b))
                e.display = (a * b < 0 ? "-" : "") + IntegerText(std::fabs(a)) + "/" + IntegerText(std::fabs(b));
            else
                e.display = FormatDecimal(e.p, 5);
            return e;
        }
    }
    e.p = a;
    e.display = Integral(a) ? IntegerText(a) : FormatDecimal(a, 5);
    return e;
}

std::string ComponentLine(const std::string& d, double t) {
    return d + " * log(" + d + ") = " + FormatDecimal(t, 5);
}

Components::Outcome Components::Add(const Entry& entry) {
    const double p = entry.p;
    if (std::isnan(p))
        return Outcome::NotFinite;
    if (p < 0)
        return Outcome::Negative;
    const double t = Term(p);
    if (!std::isfinite(p) || !std::isfinite(t) || !std::isfinite(sumP_ + p) || !std::isfinite(sumPLogP_ + t))
        return Outcome::NotFinite;
    sumP_ += p;
    comps_.push_back(p);
    lines_.push_back(ComponentLine(entry.display, t));
    sumPLogP_ += t;
    return Outcome::Done;
}

Components::Outcome Components::Remove(int i) {
    if (i < 0 || static_cast<size_t>(i) >= comps_.size())
        return Outcome::NoSelection;
    comps_.erase(comps_.begin() + i);
    lines_.erase(lines_.begin() + i);
    sumP_ = 0;
    sumPLogP_ = 0;
    for (const double p : comps_) {
        sumPLogP_ += Term(p);
        sumP_ += p;
    }
    return Outcome::Done;
}

void Components::Clear() {
    comps_.clear();
    lines_.clear();
    sumP_ = 0;
    sumPLogP_ = 0;
}

Components::Outcome Components::Normalize() {
    if (sumP_ == 0)
        return Outcome::ZeroSum;
    const double s = sumP_;
    lines_.clear();
    sumPLogP_ = 0;
    for (double& p : comps_) {
        const double q = p / s;
        std::string d;
        if (Integral(p) && Integral(s) && p != 0 && s != 1 && !Integral(q))
            d = IntegerText(p) + "/" + IntegerText(s);
        else
            d = Integral(q) ? IntegerText(q) : FormatDecimal(q, 5);
        if (q > 0) {
            const double t = Term(q);
            sumPLogP_ += t;
            lines_.push_back(ComponentLine(d, t));
        } else {
            lines_.push_back("0 * log(0) = 0");
        }
        p = q;
    }
    sumP_ = 1;
    return Outcome::Done;
}

} // namespace entropia
