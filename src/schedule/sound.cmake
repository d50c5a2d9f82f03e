# The alarm sound, and the default alarm.wav that lies beside the program.

add_library(neloclock_sound STATIC
    ${CMAKE_CURRENT_LIST_DIR}/media_alarm_sound.cpp
    ${CMAKE_CURRENT_LIST_DIR}/media_alarm_sound.h
)
target_include_directories(neloclock_sound PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(neloclock_sound PUBLIC neloclock_schedule Qt6::Core Qt6::Multimedia)

# The chime is computed by a small program of ours at build time. When cross
# compiling it needs an emulator (CMAKE_CROSSCOMPILING_EMULATOR), which
# add_custom_command uses on its own for an executable target.
add_executable(neloclock_chime_generator ${CMAKE_CURRENT_LIST_DIR}/chime_generator.cpp)
set_target_properties(neloclock_chime_generator PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_custom_command(
    OUTPUT ${NELOCLOCK_PROGRAM_DIR}/alarm.wav
    COMMAND neloclock_chime_generator ${NELOCLOCK_PROGRAM_DIR}/alarm.wav
    DEPENDS neloclock_chime_generator
    COMMENT "Generating the default alarm.wav"
    VERBATIM
)
add_custom_target(neloclock_alarm_wav ALL DEPENDS ${NELOCLOCK_PROGRAM_DIR}/alarm.wav)
add_dependencies(neloclock_sound neloclock_alarm_wav)
# An installed copy's default sound (ProgramLayout).
install(FILES ${NELOCLOCK_PROGRAM_DIR}/alarm.wav DESTINATION ${NELOCLOCK_INSTALL_DATADIR})
