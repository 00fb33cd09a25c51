#include "Sound.h"

#include <QApplication>

namespace platform {

namespace {

uint64_t beeps = 0;

} // namespace

void Beep() {
    ++beeps;
    QApplication::beep();
}

uint64_t BeepCount() {
    return beeps;
}

} // namespace platform
