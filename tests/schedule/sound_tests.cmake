neloclock_add_test(test_media_alarm_sound SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_media_alarm_sound.cpp
    LIBS neloclock_sound)
target_compile_definitions(test_media_alarm_sound PRIVATE NELOCLOCK_TEST_ALARM_WAV="${NELOCLOCK_PROGRAM_DIR}/alarm.wav")
add_dependencies(test_media_alarm_sound neloclock_alarm_wav)
