# The rule and history dialogs of Lifeboard, with their window tests; paths
# relative to this folder.
set(LIFEBOARD_DIALOG_SOURCES
  frmRules.cpp
  dlgHistory.cpp
  frmLifeboardDialogs.cpp
  lifeboard.qrc)
set(LIFEBOARD_DIALOG_TESTS
  tests/frmRulesTest.cpp
  tests/dlgHistoryTest.cpp)
