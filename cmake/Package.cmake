# The zip a server admin unzips into the server's directory, with
# ArkApi/Plugins/Kestrova/{Kestrova.dll,config.json}: Kestrova-<version>-win64.zip,
# from the build in Microsoft's ABI (the windows-msvc-abi preset, or Visual Studio's
# msvc preset), `--target package`.
set(KESTROVA_PLUGIN_DIR ArkApi/Plugins/Kestrova)
install(TARGETS Kestrova RUNTIME DESTINATION ${KESTROVA_PLUGIN_DIR} COMPONENT plugin)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/config.json DESTINATION ${KESTROVA_PLUGIN_DIR} COMPONENT plugin)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kestrova)
set(CPACK_PACKAGE_FILE_NAME Kestrova-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_COMPONENTS_ALL plugin)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES TRUE)  # the symbols are of no use to an admin
include(CPack)
