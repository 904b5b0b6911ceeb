# The widget kit every window stands on: skins and their pictures, picture buttons, the timed and
# waiting message boxes, the input box, key filters, keyboard access, field binding, navigation and
# the program's Persian look.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/ThemeTable.cpp ${KELTO_FRAGMENT_DIR}/ThemeTable.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/SkinObject.cpp ${KELTO_FRAGMENT_DIR}/SkinObject.h
    ${KELTO_FRAGMENT_DIR}/SkinLabel.cpp ${KELTO_FRAGMENT_DIR}/SkinLabel.h
    ${KELTO_FRAGMENT_DIR}/SkinPictures.cpp ${KELTO_FRAGMENT_DIR}/SkinPictures.h
    ${KELTO_FRAGMENT_DIR}/PictureButton.cpp ${KELTO_FRAGMENT_DIR}/PictureButton.h
    ${KELTO_FRAGMENT_DIR}/TimedMessageBox.cpp ${KELTO_FRAGMENT_DIR}/TimedMessageBox.h
    ${KELTO_FRAGMENT_DIR}/WaitingMessageBox.cpp ${KELTO_FRAGMENT_DIR}/WaitingMessageBox.h
    ${KELTO_FRAGMENT_DIR}/InputBox.cpp ${KELTO_FRAGMENT_DIR}/InputBox.h
    ${KELTO_FRAGMENT_DIR}/PersianApplication.cpp ${KELTO_FRAGMENT_DIR}/PersianApplication.h
    ${KELTO_FRAGMENT_DIR}/DigitKeyFilter.cpp ${KELTO_FRAGMENT_DIR}/DigitKeyFilter.h
    ${KELTO_FRAGMENT_DIR}/KeyboardAccess.cpp ${KELTO_FRAGMENT_DIR}/KeyboardAccess.h
    ${KELTO_FRAGMENT_DIR}/FieldBinding.cpp ${KELTO_FRAGMENT_DIR}/FieldBinding.h
    ${KELTO_FRAGMENT_DIR}/Navigation.cpp ${KELTO_FRAGMENT_DIR}/Navigation.h
    ${KELTO_FRAGMENT_DIR}/Notices.h)
# Enter on buttons and the names of controls for assistive tools, in the updater too.
list(APPEND KELTOUPDATE_GUI_SOURCES ${KELTO_FRAGMENT_DIR}/KeyboardAccess.cpp ${KELTO_FRAGMENT_DIR}/KeyboardAccess.h)
# Pictures the skins use: the night sky of the galaxy look, the tick of a ticked box.
list(APPEND KELTO_GUI_RESOURCES ${KELTO_FRAGMENT_DIR}/pictures/stars.svg ${KELTO_FRAGMENT_DIR}/pictures/tick-dark.svg
    ${KELTO_FRAGMENT_DIR}/pictures/tick-light.svg)
