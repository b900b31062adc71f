# The effect controls panel (velarra_panel): portable, so its logic runs
# natively under the sanitizers; only the picture loading from the module's
# resources and the device-context drawing are Windows code.
add_library(velarra_panel OBJECT
  ${CMAKE_CURRENT_LIST_DIR}/panel_events.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_draw_bitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_suites.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_bitmap.cpp
)
target_include_directories(velarra_panel PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(velarra_panel PUBLIC velarra_sdk velarra_platform)
if(VELARRA_WIN64)
  target_sources(velarra_panel PRIVATE ${CMAKE_CURRENT_LIST_DIR}/panel_blit_win.cpp)
  target_link_libraries(velarra_panel PUBLIC gdi32 user32)
endif()
