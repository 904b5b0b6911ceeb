# The hub: the main window and its panels (settings, theme, clinic, database), the theme-change window,
# start-up, recovery at start, the single-instance guard, and the program's main.
list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/SingleInstanceGuard.cpp ${KELTO_FRAGMENT_DIR}/SingleInstanceGuard.h
    ${KELTO_FRAGMENT_DIR}/DesktopCalculator.cpp ${KELTO_FRAGMENT_DIR}/DesktopCalculator.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/Frm1.cpp ${KELTO_FRAGMENT_DIR}/Frm1.h
    ${KELTO_FRAGMENT_DIR}/PanelControls.h
    ${KELTO_FRAGMENT_DIR}/SettingsPanel.cpp ${KELTO_FRAGMENT_DIR}/SettingsPanel.h
    ${KELTO_FRAGMENT_DIR}/ThemePanel.cpp ${KELTO_FRAGMENT_DIR}/ThemePanel.h
    ${KELTO_FRAGMENT_DIR}/ClinicPanel.cpp ${KELTO_FRAGMENT_DIR}/ClinicPanel.h
    ${KELTO_FRAGMENT_DIR}/DatabasePanel.cpp ${KELTO_FRAGMENT_DIR}/DatabasePanel.h
    ${KELTO_FRAGMENT_DIR}/Frmskin.cpp ${KELTO_FRAGMENT_DIR}/Frmskin.h
    ${KELTO_FRAGMENT_DIR}/HelpIcon.cpp ${KELTO_FRAGMENT_DIR}/HelpIcon.h
    ${KELTO_FRAGMENT_DIR}/KeltoStart.cpp ${KELTO_FRAGMENT_DIR}/KeltoStart.h
    ${KELTO_FRAGMENT_DIR}/RecoveryBox.cpp ${KELTO_FRAGMENT_DIR}/RecoveryBox.h
    ${KELTO_FRAGMENT_DIR}/ServerAtStart.cpp ${KELTO_FRAGMENT_DIR}/ServerAtStart.h
    ${KELTO_FRAGMENT_DIR}/StartRecovery.cpp ${KELTO_FRAGMENT_DIR}/StartRecovery.h
    ${KELTO_FRAGMENT_DIR}/DamageRoad.cpp ${KELTO_FRAGMENT_DIR}/DamageRoad.h
    ${KELTO_FRAGMENT_DIR}/SitePicture.cpp ${KELTO_FRAGMENT_DIR}/SitePicture.h
    ${KELTO_FRAGMENT_DIR}/WebPageOpener.cpp ${KELTO_FRAGMENT_DIR}/WebPageOpener.h)
set(KELTO_MAIN ${KELTO_FRAGMENT_DIR}/main.cpp)
