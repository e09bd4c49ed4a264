# The desktop application: Qt Widgets over the core. Every Qt file of the
# subsystem folders (named *_view, *_dlg, *_frame, *_app, *_qt) goes into one
# library that the program and the window tests link; main_app.cpp is the program.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Network)

set(ui_sources "")
foreach(folder page story trees find shell charts)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(FILTER folder_sources INCLUDE REGEX "_(view|dlg|frame|app|qt)\\.cpp$")
    list(APPEND ui_sources ${folder_sources})
endforeach()
list(FILTER ui_sources EXCLUDE REGEX "/find/locale_collator_qt\\.cpp$|/shell/main_app\\.cpp$|/charts/chart_(draw|export)_qt\\.cpp$")

set(ui_resources "")
if(EXISTS ${PROJECT_SOURCE_DIR}/res/stirpex.qrc)
    set(ui_resources ${PROJECT_SOURCE_DIR}/res/stirpex.qrc)
endif()
add_library(stirpex_ui STATIC ${ui_sources} ${ui_resources})
set_target_properties(stirpex_ui PROPERTIES AUTOMOC ON AUTORCC ON)
target_link_libraries(stirpex_ui PUBLIC stirpex_core stirpex_locale stirpex_chart_draw Qt6::Core Qt6::Gui Qt6::Widgets
                                        Qt6::PrintSupport Qt6::Network)
target_compile_definitions(stirpex_ui PUBLIC QT_NO_CAST_FROM_ASCII)
stirpex_target_flags(stirpex_ui)

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/shell/main_app.cpp)
    add_executable(stirpex shell/main_app.cpp)
    target_link_libraries(stirpex PRIVATE stirpex_ui)
    stirpex_target_flags(stirpex)
endif()
