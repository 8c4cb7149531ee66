# The manual: its HTML pages and pictures beside the program (the help window shows
# them), and the same pages as one PDF, made by quendra-manual-pdf.
set(manual_source ${CMAKE_SOURCE_DIR}/doc/manuale)
set(manual_out ${QUENDRA_RUNTIME_DIR}/manuale)
file(GLOB manual_pages CONFIGURE_DEPENDS ${manual_source}/*.html)
file(GLOB manual_images CONFIGURE_DEPENDS ${manual_source}/immagini/*.png)

add_executable(quendra-manual-pdf ${CMAKE_SOURCE_DIR}/src/app/manual/manual_pdf_main.cpp)
target_link_libraries(quendra-manual-pdf PRIVATE Qt6::Widgets)
target_compile_options(quendra-manual-pdf PRIVATE ${QUENDRA_WARNINGS})

add_custom_command(
  OUTPUT ${manual_out}/manuale.pdf
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${manual_out}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${manual_source} ${manual_out}
  COMMAND quendra-manual-pdf ${manual_out} ${manual_out}/manuale.pdf
  DEPENDS ${manual_pages} ${manual_images} quendra-manual-pdf
  COMMENT "Manuale: pagine HTML e PDF"
  VERBATIM)
add_custom_target(manual ALL DEPENDS ${manual_out}/manuale.pdf)
