# Notification-area icon; included by CMakeLists.txt beside this file.
neloclock_add_test(test_tray_icon SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_tray_icon.cpp LIBS neloclock_desktop)
