# The software version, written once: in the header the configuration program shows it from. The setup
# and the portable archive take it from there (KAVO_VERSION).
set(kavo_version_header ${PROJECT_SOURCE_DIR}/option/common/version_text.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kavo_version_header})
file(STRINGS ${kavo_version_header} kavo_version_line REGEX "kSoftwareVersionText\\[\\] = \"")
if(NOT kavo_version_line MATCHES "kSoftwareVersionText\\[\\] = \"([0-9]+\\.[0-9]+)\"")
  message(FATAL_ERROR "no software version of the form major.minor in ${kavo_version_header}")
endif()
set(KAVO_VERSION ${CMAKE_MATCH_1})
