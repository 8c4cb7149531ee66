# The windows (quendra_ui) and the program (quendra2015): every source whose name starts
# with a capital letter (window classes and the Qt sides of the seams).
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)

file(GLOB_RECURSE ui_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
list(FILTER ui_sources EXCLUDE REGEX "/src/(app|tools)/")
list(FILTER ui_sources INCLUDE REGEX "/[A-Z][^/]*\\.(cpp|h)$")
add_library(quendra_ui STATIC ${ui_sources})
target_link_libraries(quendra_ui PUBLIC quendra_core Qt6::Widgets Qt6::PrintSupport)
# moc cannot read the C++20 parts of the standard headers; without the compiler's
# predefined macros it sees them as C++17 and skips those parts.
set_target_properties(quendra_ui PROPERTIES AUTOMOC ON AUTOMOC_COMPILER_PREDEFINES OFF)
target_compile_options(quendra_ui PRIVATE ${QUENDRA_WARNINGS})
# Qt's widget headers, parsed once instead of once per window (a third of a window's build).
target_precompile_headers(quendra_ui PRIVATE <QApplication> <QDialog> <QHBoxLayout> <QLabel> <QLineEdit>
  <QPushButton> <QVBoxLayout> <QWidget> <string> <vector>)

file(GLOB app_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
if(app_sources)
  add_executable(quendra2015 ${app_sources})
  target_link_libraries(quendra2015 PRIVATE quendra_ui)
  target_compile_options(quendra2015 PRIVATE ${QUENDRA_WARNINGS})
  set_target_properties(quendra2015 PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENDRA_RUNTIME_DIR})
endif()

# quendra-report: any report, headless, to PDF.
file(GLOB reporter_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/report/*.cpp)
if(reporter_sources)
  add_executable(quendra-report ${reporter_sources})
  target_link_libraries(quendra-report PRIVATE quendra_ui)
  target_compile_options(quendra-report PRIVATE ${QUENDRA_WARNINGS})
  set_target_properties(quendra-report PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENDRA_RUNTIME_DIR})
endif()
