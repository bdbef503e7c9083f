# The launch pages and the settings file they live in. Included by
# app/CMakeLists.txt, which owns the application object.

# Pure rules (settings path, slot titles, key names): both flavours.
add_library(dida_app_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/core/PathText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/PageKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/core/ProfileText.cpp)
target_include_directories(dida_app_core PUBLIC ${CMAKE_SOURCE_DIR})

if(DIDA_WIN32)
  add_library(dida_app_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LaunchPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PageStore.cpp)
  target_include_directories(dida_app_model PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(dida_app_model PUBLIC
    dida_app_core dida_common dida_framework user32 gdi32)
endif()
