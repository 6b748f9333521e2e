# What ships and how it is packed: Vornel.exe stripped (its unstripped build kept
# beside it as Vornel.debug.exe), the Lang folder with every language file and
# flag, and from these an installer and a zip of the same files:
#   cmake --build build/win32 --target package
# Included from the root CMakeLists.txt, in the scope where the Vornel target lives.

# The debugging information is most of the linked file; users get the program
# without it, and the test programs run exactly what users get.
find_program(VORNEL_OBJCOPY NAMES ${CMAKE_OBJCOPY} ${VORNEL_MINGW_TRIPLE}-objcopy objcopy REQUIRED)
add_custom_command(TARGET Vornel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Vornel> $<TARGET_FILE_DIR:Vornel>/Vornel.debug.exe
  COMMAND ${VORNEL_OBJCOPY} --strip-all $<TARGET_FILE:Vornel>
  COMMENT "Stripping Vornel.exe (the unstripped build stays as Vornel.debug.exe)")

# An installation: the program, and its language files with their flags in Lang.
file(GLOB vornel_language_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/lang/*.ini)
file(GLOB vornel_flag_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/lang/*.bmp)
install(TARGETS Vornel RUNTIME DESTINATION .)
install(FILES ${vornel_language_files} ${vornel_flag_files} DESTINATION Lang)

# The installer offers the shipped languages under their file names, which are
# also the names of NSIS's own translations of its pages; English comes first,
# as the installer's default. The language chosen is what Vornel starts in.
set(vornel_languages English)
foreach(file IN LISTS vornel_language_files)
  get_filename_component(name ${file} NAME_WE)
  if(NOT name STREQUAL "English")
    list(APPEND vornel_languages ${name})
  endif()
endforeach()
set(languages_nsh "; The languages Vornel ships, generated from lang/*.ini by packaging/Packaging.cmake.\n")
set(by_name "!macro VornelLanguageByName NAME\n")
foreach(name IN LISTS vornel_languages)
  string(TOUPPER ${name} upper)
  string(APPEND languages_nsh "!insertmacro MUI_LANGUAGE \"${name}\"\n"
    "LangString VornelLanguage \${LANG_${upper}} \"${name}\"\n")
  string(APPEND by_name "  \${If} \${NAME} == \"${name}\"\n"
    "    StrCpy $LANGUAGE \${LANG_${upper}}\n  \${EndIf}\n")
endforeach()
string(APPEND languages_nsh "${by_name}!macroend\n")
file(WRITE ${CMAKE_BINARY_DIR}/packaging/Languages.nsh "${languages_nsh}")

set(CPACK_GENERATOR "NSIS;ZIP")
# The installer is made by the NSIS built for the 80386 (cmake/OldProcessor.cmake); its
# makensis takes the stubs and plug-ins from its own folder, never Debian's.
if(VORNEL_NSIS_DIR)
  set(CPACK_NSIS_EXECUTABLE ${VORNEL_NSIS_DIR}/bin/makensis)
endif()
set(CPACK_PACKAGE_NAME Vornel)
set(CPACK_PACKAGE_VENDOR Vornel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Vornel-${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Vornel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Vornel)
set(CPACK_NSIS_PACKAGE_NAME Vornel)
set(CPACK_NSIS_DISPLAY_NAME "Vornel ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME Vornel.exe)
# The installer script is ours (packaging/NSIS.template.in), filled in by CPack.
set(CPACK_MODULE_PATH ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_VORNEL_LANGUAGES_NSH ${CMAKE_BINARY_DIR}/packaging/Languages.nsh)
set(CPACK_VORNEL_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(CPACK_VORNEL_ICON ${CMAKE_SOURCE_DIR}/res/Vornel.ico)
# The installer is named Vornel-<version>-setup.exe, the zip Vornel-<version>.zip.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/packaging/CPackOptions.cmake)
include(CPack)
