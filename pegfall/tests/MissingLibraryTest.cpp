// Pegfall where the library PRNG is missing: this test program has no
// libPRNG.so beside it.

#include "BindingFailureBox.h"
#include "ScriptedDialogs.h"
#include "Timer.h"
#include "frmPegfall.h"

#include <QCheckBox>
#include <QPushButton>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// The first draw, animated or not, stops the program with a message naming the library and the entry.
void RunUntilTheFirstDraw(bool animate) {
    platform::ScriptedDialogs dialogs;
    dialogs.SetFailureHandler([&](const std::string&) {
        const platform::DialogRequest& shown = dialogs.Requests().back();
        std::fprintf(stderr, "box %s: %s\n", qPrintable(shown.title), qPrintable(shown.text));
    });
    platform::SetBindingFailureBox("Pegfall");
    platform::SetTimersHeld(true);
    frmPegfall form;
    form.show();
    form.chkAnimate->setChecked(animate);
    form.cmdGo->click();
    // Nothing is drawn before the run.
    std::fprintf(stderr, "running\n");
    form.timAnim->Tick(2);
    std::fprintf(stderr, "not stopped\n");
}

TEST(PegfallDeathTest, AMissingLibraryStopsTheProgramAtTheFirstDrawWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const bool animate : {false, true}) {
        EXPECT_EXIT(RunUntilTheFirstDraw(animate), testing::ExitedWithCode(1),
                    "running\n.*box Pegfall: Cannot load the library \".*/libPRNG.so\" to call "
                    "\"_Z14PRNGOpenDoublev\"");
    }
}

} // namespace
