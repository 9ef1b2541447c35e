# The extension's packages: `extension-packages` (part of every build) packs
# extension/ (with the console, linked into it from web/) into
#   <build>/extension-packages/vantrel.crx           Chromium, Google Chrome, Edge
#   <build>/extension-packages/chromium-updates.xml  Chromium's update manifest
#   <build>/extension-packages/vantrel.xpi           Firefox
#   <build>/extension-packages/firefox-updates.json  Firefox's update manifest
#   <build>/extension-packages/extension.json        IDs and addresses, for installers
# carrying the project's version.
#
# The CRX is signed with VANTREL_EXTENSION_KEY, an RSA key that never belongs
# in the repository: made in the build folder when there is none. Its public
# key becomes the packed manifest's "key", so the key decides the packaged
# extension's ID (VANTREL_PACKAGED_EXTENSION_ID): keep one key for all the
# builds you ship. The unpacked extension of the checkout keeps the ID of the
# repository's manifest, for development.

include_guard(GLOBAL)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(VANTREL_EXTENSION_KEY ${CMAKE_BINARY_DIR}/extension-signing-key.pem CACHE FILEPATH
    "RSA private key (PEM) that signs the Chromium package; made here when there is none")
if(WIN32)
    # The folder the Windows installer puts them into, under the Program
    # Files folder of the host's processor type on 64-bit Windows.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
        set(default_url "file:///C:/Program%20Files/Vantrel/extensions")
    else()
        set(default_url "file:///C:/Program%20Files%20(x86)/Vantrel/extensions")
    endif()
else()
    set(default_url "file:///usr/share/vantrel")
endif()
set(VANTREL_EXTENSION_PACKAGE_URL ${default_url} CACHE STRING
    "Where the browsers find the extension packages and their update manifests (file:// or https://)")
# Windows trees configured while the default was a placeholder take the
# folder the installer really uses.
if(WIN32 AND VANTREL_EXTENSION_PACKAGE_URL STREQUAL "file:///C:/Program%20Files/Vantrel/extension")
    set_property(CACHE VANTREL_EXTENSION_PACKAGE_URL PROPERTY VALUE ${default_url})
endif()

set(VANTREL_PACKER ${CMAKE_SOURCE_DIR}/packaging/extension/pack-extension.py)
file(READ ${CMAKE_SOURCE_DIR}/extension/manifest.json extension_manifest)
string(JSON VANTREL_FIREFOX_ADDON_ID GET "${extension_manifest}" browser_specific_settings gecko id)
execute_process(
    COMMAND ${Python3_EXECUTABLE} ${VANTREL_PACKER} key --key ${VANTREL_EXTENSION_KEY}
    OUTPUT_VARIABLE VANTREL_PACKAGED_EXTENSION_ID OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_VARIABLE packer_error
    RESULT_VARIABLE packer_result)
if(NOT packer_result EQUAL 0)
    message(FATAL_ERROR "The extension's signing key ${VANTREL_EXTENSION_KEY}: ${packer_error}")
endif()
message(STATUS "Packaged extension: ID ${VANTREL_PACKAGED_EXTENSION_ID}, signed with ${VANTREL_EXTENSION_KEY}")

set(VANTREL_EXTENSION_PACKAGES_DIR ${CMAKE_BINARY_DIR}/extension-packages)
set(VANTREL_EXTENSION_PACKAGE_FILES vantrel.crx chromium-updates.xml vantrel.xpi firefox-updates.json extension.json)
list(TRANSFORM VANTREL_EXTENSION_PACKAGE_FILES PREPEND ${VANTREL_EXTENSION_PACKAGES_DIR}/
     OUTPUT_VARIABLE VANTREL_EXTENSION_PACKAGE_PATHS)
file(GLOB_RECURSE extension_sources CONFIGURE_DEPENDS FOLLOW_SYMLINKS
     ${CMAKE_SOURCE_DIR}/extension/* ${CMAKE_SOURCE_DIR}/web/*)
add_custom_command(OUTPUT ${VANTREL_EXTENSION_PACKAGE_PATHS}
    COMMAND ${Python3_EXECUTABLE} ${VANTREL_PACKER} pack
            --source ${CMAKE_SOURCE_DIR}/extension --key ${VANTREL_EXTENSION_KEY}
            --version ${PROJECT_VERSION} --out ${VANTREL_EXTENSION_PACKAGES_DIR}
            --chromium-base-url ${VANTREL_EXTENSION_PACKAGE_URL}
            --firefox-base-url ${VANTREL_EXTENSION_PACKAGE_URL}
    DEPENDS ${extension_sources} ${VANTREL_PACKER} ${VANTREL_EXTENSION_KEY}
    COMMENT "Packing the extension for Chromium and Firefox"
    VERBATIM)
add_custom_target(extension-packages ALL DEPENDS ${VANTREL_EXTENSION_PACKAGE_PATHS})

if(VANTREL_BUILD_TESTS)
    add_test(NAME extension_packages
        COMMAND ${Python3_EXECUTABLE} -m unittest discover -s ${CMAKE_SOURCE_DIR}/tests/packaging -p "test_*.py")
endif()
