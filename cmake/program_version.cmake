# The program's version stands once, in project(... VERSION a.b.c.d). From it the build makes, in
# <build>/resources, the resource script's version numbers (program_version.h) and the manifest, and writes
# <build>/program_version.txt for the package checks. Targets that compile a resource script holding either link
# kavlo_program_version, which puts that folder on the include path the resource compiler searches.
if(PROJECT_VERSION_TWEAK STREQUAL "")
  message(FATAL_ERROR "project(... VERSION a.b.c.d) needs all four fields: the version record and the manifest hold four")
endif()
foreach(field MAJOR MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${field} GREATER 65535)
    message(FATAL_ERROR "Each field of the version is at most 65535, as the version record holds it")
  endif()
endforeach()

set(KAVLO_VERSION_FOLDER ${PROJECT_BINARY_DIR}/resources)
configure_file(${PROJECT_SOURCE_DIR}/resources/program_version.h.in ${KAVLO_VERSION_FOLDER}/program_version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/Kavlo_Connect.manifest.in ${KAVLO_VERSION_FOLDER}/Kavlo_Connect.manifest
  @ONLY)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/program_version.txt CONTENT "@PROJECT_VERSION@\n" @ONLY)
# What a resource script that takes the version depends on, for its OBJECT_DEPENDS.
set(KAVLO_VERSION_FILES ${KAVLO_VERSION_FOLDER}/program_version.h ${KAVLO_VERSION_FOLDER}/Kavlo_Connect.manifest)

add_library(kavlo_program_version INTERFACE)
target_include_directories(kavlo_program_version INTERFACE ${KAVLO_VERSION_FOLDER})
