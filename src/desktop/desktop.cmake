# Start at login, advertisement panel, forum link and program icon; included
# by CMakeLists.txt beside this file into neloclock_desktop.

target_sources(neloclock_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/auto_start_factory.h
    ${CMAKE_CURRENT_LIST_DIR}/xdg_auto_start.h
    ${CMAKE_CURRENT_LIST_DIR}/xdg_auto_start.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ad_panel.h
    ${CMAKE_CURRENT_LIST_DIR}/ad_panel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app_icon.h
    ${CMAKE_CURRENT_LIST_DIR}/app_icon.cpp
    ${CMAKE_CURRENT_LIST_DIR}/link_label.h
    ${CMAKE_CURRENT_LIST_DIR}/link_label.cpp

    ${CMAKE_CURRENT_LIST_DIR}/process_facts.h
)

# This platform's login registration and process facts.
if(WIN32)
    target_sources(neloclock_desktop PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/auto_start_windows.cpp ${CMAKE_CURRENT_LIST_DIR}/process_facts_windows.cpp)
    target_link_libraries(neloclock_desktop PRIVATE advapi32)
else()
    target_sources(neloclock_desktop PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/auto_start_linux.cpp ${CMAKE_CURRENT_LIST_DIR}/process_facts_linux.cpp)
endif()

target_sources(neloclock_desktop PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ad_web_view_factory.h)

if(TARGET Qt6::WebEngineWidgets)
    message(STATUS "NeloClock: Qt WebEngine found, the advertisement panel shows its page")
    # The web view is a plugin beside the executable: a process that shows no
    # page never loads Qt WebEngine.
    add_library(neloclock_webview MODULE
        ${CMAKE_CURRENT_LIST_DIR}/ad_web_view_factory.h
        ${CMAKE_CURRENT_LIST_DIR}/ad_web_view_plugin.h
        ${CMAKE_CURRENT_LIST_DIR}/ad_web_view_plugin.cpp
        ${CMAKE_CURRENT_LIST_DIR}/silent_web_page.h
        ${CMAKE_CURRENT_LIST_DIR}/silent_web_page.cpp
    )
    find_package(Qt6 REQUIRED COMPONENTS QuickWidgets)
    target_link_libraries(neloclock_webview PRIVATE Qt6::WebEngineWidgets Qt6::QuickWidgets)
    set_target_properties(neloclock_webview PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${NELOCLOCK_PROGRAM_DIR})
    # Installed in a private folder that the program finds from its own
    # (ProgramLayout), never on the library path.
    install(TARGETS neloclock_webview LIBRARY DESTINATION ${NELOCLOCK_INSTALL_PLUGINDIR})
    target_compile_definitions(neloclock_desktop PUBLIC NELOCLOCK_WEBENGINE=1)
    add_dependencies(neloclock_desktop neloclock_webview)
else()
    message(STATUS "NeloClock: Qt WebEngine not found (Debian: qt6-webengine-dev), the advertisement panel stays plain")
    target_compile_definitions(neloclock_desktop PUBLIC NELOCLOCK_WEBENGINE=0)
endif()

# Resources of a static library need the object-library form so that the
# linker keeps them in the executable.
qt_add_resources(neloclock_desktop neloclock_icons
    PREFIX /neloclock
    BASE ${CMAKE_CURRENT_LIST_DIR}
    FILES
        ${CMAKE_CURRENT_LIST_DIR}/icons/neloclock-16.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/neloclock-32.png
        ${CMAKE_CURRENT_LIST_DIR}/icons/neloclock-64.png
)
