# Notification-area icon; included by CMakeLists.txt beside this file into
# neloclock_desktop.
target_sources(neloclock_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/tray_icon.h
    ${CMAKE_CURRENT_LIST_DIR}/tray_icon.cpp
)
