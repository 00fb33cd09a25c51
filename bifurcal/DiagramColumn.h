#pragma once

#include "clsExpression.h"

#include <cmath>

// One column of a bifurcation diagram: the map iterated for one value of a,
// `discarded` iterates computed and dropped, then `shown` iterates handed to
// plot(x). An undefined iterate hands grey() (the column is to be drawn grey)
// and ends its phase; the shown phase goes on from where the discarded one ended.

namespace bifurcal {

// The logistic map x <- a * x * (1 - x) from 0.5. An overflow in the discarded
// phase also ends the shown phase at its first iterate.
template <class Plot, class Grey>
void LogisticColumn(double a, int discarded, int shown, Plot&& plot, Grey&& grey) {
    double x = 0.5;
    bool overflow = false;
    for (int i = 0; i < discarded; ++i) {
        x = a * x * (1 - x);
        if (!std::isfinite(x)) {
            overflow = true;
            grey();
            break;
        }
    }
    for (int i = 0; i < shown; ++i) {
        x = a * x * (1 - x);
        if (overflow || !std::isfinite(x)) {
            grey();
            break;
        }
        plot(x);
    }
}

// The formula's map x <- f(x, a) from x0; an iterate is undefined when it is
// the evaluator's UndefinedResult.
template <class Plot, class Grey>
void FormulaColumn(expression::clsExpression& formula, double a, double x0, int discarded,
                   int shown, Plot&& plot, Grey&& grey) {
    double x = x0;
    for (int i = 0; i < discarded; ++i) {
        x = formula.ValueP(x, a);
        if (x == expression::UndefinedResult) {
            grey();
            break;
        }
    }
    for (int i = 0; i < shown; ++i) {
        x = formula.ValueP(x, a);
        if (x == expression::UndefinedResult) {
            grey();
            break;
        }
        plot(x);
    }
}

} // namespace bifurcal
