#pragma once

#include <string>
#include <string_view>
#include <vector>

// The components of Entropia: non-negative numbers, typed as decimals or as
// fractions a/b, their sum, the sum of p * log2(p), and one display line per
// component. Every number is shown with "." whatever the locale.

namespace entropia {

// The value with n decimals, a leading zero, "-" for negatives, no grouping;
// then trailing zeros dropped (while more than one character is left) and a
// final "." dropped: 0.25 with 5 decimals gives 0.25, 2 gives 2, 0 gives 0. A
// value that shows as zero has no sign.
std::string FormatDecimal(double value, int n);

// A typed component: its value and how it is shown.
struct Entry {
    double p = 0;
    std::string display;
};

// Reads the text of the entry box: a number, or a fraction a/b of two numbers
// (further parts ignored; b = 0 takes a alone). Numbers are leading decimal
// numbers with "." as the point; no number reads as 0.
Entry ReadEntry(std::string_view text);

// The line of a component shown as d with the term t.
std::string ComponentLine(const std::string& d, double t);

class Components {
public:
    enum class Outcome {
        Done,
        Negative,  // a component below 0
        NotFinite, // a component, a term or a sum beyond the double range
        NoSelection,
        ZeroSum,
    };

    // Appends the component unless it is negative or would make a value non-finite.
    Outcome Add(const Entry& entry);
    // Removes component i and sums the rest anew.
    Outcome Remove(int i);
    void Clear();
    // Divides every component by the sum, which becomes exactly 1.
    Outcome Normalize();

    const std::vector<double>& comps() const { return comps_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    double sumP() const { return sumP_; }
    double sumPLogP() const { return sumPLogP_; }

private:
    std::vector<double> comps_;
    std::vector<std::string> lines_;
    double sumP_ = 0;
    double sumPLogP_ = 0;
};

} // namespace entropia
