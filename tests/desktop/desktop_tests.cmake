# Start at login, advertisement panel, forum link and program icon; included
# by CMakeLists.txt beside this file.

neloclock_add_test(test_xdg_auto_start
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_xdg_auto_start.cpp
    LIBS neloclock_desktop)

neloclock_add_test(test_link_label
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_link_label.cpp
    LIBS neloclock_desktop)

neloclock_add_test(test_app_icon
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_app_icon.cpp
    LIBS neloclock_desktop)

# Tests run as root, where Chromium starts only without its sandbox; the
# offscreen platform has no GPU to offer it.
set(neloclock_ad_panel_libs neloclock_desktop Qt6::Network)
if(TARGET Qt6::WebEngineWidgets)
    list(APPEND neloclock_ad_panel_libs Qt6::WebEngineWidgets)
endif()
neloclock_add_test(test_ad_panel
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_ad_panel.cpp
    LIBS ${neloclock_ad_panel_libs}
    ENV QTWEBENGINE_DISABLE_SANDBOX=1 "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu")
target_compile_definitions(test_ad_panel PRIVATE NELOCLOCK_PLUGIN_DIR="${NELOCLOCK_PROGRAM_DIR}")
if(TARGET neloclock_webview)
    add_dependencies(test_ad_panel neloclock_webview)
endif()
