# The Windows installer: an MSI for the build's processor type (x64 or x86,
# after the toolchain), made with wixl (Debian package wixl) from
# packaging/windows/vantrel.wxs by the target "installer":
#
#   <build>/vantrel-<version>-x64.msi   or   <build>/vantrel-<version>-x86.msi
#
# It installs vantrel.exe, a vantrel.cfg naming VANTREL_WINDOWS_PKCS11_LIBRARY,
# the browsers' manifests for VANTREL_EXTENSION_ORIGINS and
# VANTREL_FIREFOX_EXTENSION_IDS (browser-extensions.cmake, shared with the
# Debian package), README.txt, and the files VANTREL_MSI_EXTENSION_FILES names
# (the extension packages) in a folder "extensions" beside them.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/browser-extensions.cmake)

set(VANTREL_WINDOWS_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging/windows)

# Windows Installer compares three fields of a version; the fourth of the file
# version stays 0.
function(vantrel_msi_version version out)
    string(REGEX MATCHALL "[0-9]+" fields "${version}.0.0")
    list(SUBLIST fields 0 3 fields)
    list(JOIN fields "." joined)
    set(${out} ${joined} PARENT_SCOPE)
endfunction()
vantrel_msi_version(${PROJECT_VERSION} VANTREL_MSI_VERSION)

# vantrel.exe carries its version: a repair or an upgrade replaces the host
# by version, not by the file's dates.
string(REPLACE "." "," VANTREL_VERSION_COMMAS "${VANTREL_MSI_VERSION}.0")
configure_file(${VANTREL_WINDOWS_PACKAGING_DIR}/vantrel.rc.in ${CMAKE_BINARY_DIR}/vantrel.rc @ONLY)
target_sources(vantrel PRIVATE ${CMAKE_BINARY_DIR}/vantrel.rc)

option(VANTREL_WINDOWS_INSTALLER "Build the MSI installer (target installer, with wixl)" ON)
if(NOT VANTREL_WINDOWS_INSTALLER)
    return()
endif()
find_program(VANTREL_WIXL wixl)
if(NOT VANTREL_WIXL)
    message(FATAL_ERROR "wixl is missing (Debian package wixl); "
                        "-DVANTREL_WINDOWS_INSTALLER=OFF builds without the installer")
endif()

set(VANTREL_WINDOWS_PKCS11_LIBRARY "eTPKCS11.dll" CACHE STRING
    "The PKCS#11 module that the installer's vantrel.cfg names (a bare name or a full path)")
# One line of the configuration file.
if(NOT VANTREL_WINDOWS_PKCS11_LIBRARY MATCHES "^[^\r\n]+$")
    message(FATAL_ERROR "VANTREL_WINDOWS_PKCS11_LIBRARY needs a value on one line")
endif()
# The extension packages and their update manifests, which the installer puts
# into a folder "extensions" beside the host: full paths of files, given or
# made by this build (then VANTREL_MSI_EXTENSION_TARGETS names the targets that
# make them). Set before this file is included, or on the command line.
set(VANTREL_MSI_EXTENSION_FILES "" CACHE STRING
    "Files the installer puts into its folder \"extensions\" (the extension packages and their update manifests)")
set(VANTREL_MSI_EXTENSION_TARGETS "" CACHE STRING
    "Targets of this build that make VANTREL_MSI_EXTENSION_FILES")

find_program(VANTREL_MSIBUILD msibuild)
if(NOT VANTREL_MSIBUILD)
    message(FATAL_ERROR "msibuild is missing (Debian package msitools)")
endif()

# Component attributes as wixl writes them: 256 for 64-bit components.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(VANTREL_MSI_ARCH x64)
    set(VANTREL_MSI_BITS 64)
    set(VANTREL_MSI_NATIVE_VIEW yes)
    set(native_component 256)
else()
    set(VANTREL_MSI_ARCH x86)
    set(VANTREL_MSI_BITS 32)
    set(VANTREL_MSI_NATIVE_VIEW no)
    set(native_component 0)
endif()
# What wixl cannot say, said to the MSI's tables afterwards:
# - "never overwrite" (128) for vantrel.cfg: a repair or an upgrade leaves an
#   existing one as the administrator left it;
# - vantrel.exe's version, which wixl does not read from the file: without it
#   Windows Installer takes the file for one without a version, which never
#   replaces an installed host that has one. A file with a version has no hash.
math(EXPR never_overwrite "${native_component} + 128")
set(VANTREL_MSI_TABLE_FIXES
    -q "UPDATE Component SET Attributes = ${never_overwrite} WHERE Component = 'Configuration'"
    -q "UPDATE File SET Version = '${VANTREL_MSI_VERSION}.0' WHERE File = 'HostProgram'"
    -q "DELETE FROM MsiFileHash WHERE File_ = 'HostProgram'")

# The policies that make the browsers install the packaged extension from the
# installed packages, at the addresses the packages were made for
# (VANTREL_EXTENSION_PACKAGE_URL): Chromium, Google Chrome and Edge read a
# list of "<ID>;<update manifest>" entries, whose values' names only count
# them, Firefox one JSON object. The list entry's name is a number an
# administrator's own list (1, 2, ...) does not reach, so that neither
# overwrites the other and the uninstall removes only this one.
set(VANTREL_MSI_FORCELIST_ENTRY 8687)
set(VANTREL_MSI_FORCELIST_KEYS
    "Software\\Policies\\Google\\Chrome\\ExtensionInstallForcelist"
    "Software\\Policies\\Chromium\\ExtensionInstallForcelist"
    "Software\\Policies\\Microsoft\\Edge\\ExtensionInstallForcelist")

# The components of those policies, one for each registry view the browsers
# read (as for their keys in vantrel.wxs).
function(vantrel_msi_policy_components out)
    string(REGEX REPLACE "/+$" "" url "${VANTREL_EXTENSION_PACKAGE_URL}")
    # It goes into the installer's XML, a value Windows Installer formats and
    # Firefox's JSON as it is.
    if(NOT url MATCHES "^(file|https)://[^][{}\"'<>&\\ \t\r\n]+$")
        message(FATAL_ERROR "VANTREL_EXTENSION_PACKAGE_URL: \"${url}\" is not a file:// or https:// "
                            "address with spaces and quotes, brackets, braces, <, >, & and backslashes escaped")
    endif()
    set(forcelist "${VANTREL_PACKAGED_EXTENSION_ID};${url}/chromium-updates.xml")
    # Braces are Windows Installer's own in a value: [\{] and [\}] stand for them.
    string(CONCAT firefox "[\\{]&quot;${VANTREL_FIREFOX_ADDON_ID}&quot;: [\\{]&quot;installation_mode&quot;: "
                "&quot;force_installed&quot;, &quot;install_url&quot;: &quot;${url}/vantrel.xpi&quot;[\\}][\\}]")
    set(views 32)
    if(VANTREL_MSI_ARCH STREQUAL "x64")
        list(APPEND views 64)
    endif()
    set(components "")
    foreach(bits ${views})
        string(UUID guid NAMESPACE C999E88F-1CFF-412F-87EC-31184A96C2C9
               NAME "${VANTREL_MSI_ARCH}/extension-policies/${bits}" TYPE SHA1 UPPER)
        set(view no)
        if(bits EQUAL 64)
            set(view yes)
        endif()
        string(APPEND components
            "        <Component Id=\"ExtensionPolicies${bits}\" Guid=\"{${guid}}\" Win64=\"${view}\">\n")
        set(key_path " KeyPath=\"yes\"")
        foreach(key ${VANTREL_MSI_FORCELIST_KEYS})
            string(APPEND components
                "          <RegistryValue Root=\"HKLM\" Key=\"${key}\" Name=\"${VANTREL_MSI_FORCELIST_ENTRY}\"\n"
                "                         Type=\"string\" Value=\"${forcelist}\"${key_path}/>\n")
            set(key_path "")
        endforeach()
        string(APPEND components
            "          <RegistryValue Root=\"HKLM\" Key=\"Software\\Policies\\Mozilla\\Firefox\" Name=\"ExtensionSettings\"\n"
            "                         Type=\"string\" Value=\"${firefox}\"/>\n"
            "        </Component>\n")
    endforeach()
    set(${out} "${components}" PARENT_SCOPE)
endfunction()

# Writes `wxs`, the fragment with the component group ExtensionPackages: a
# component for each of `files`, none while there are none, and, with
# POLICIES, the components of the policies that install the packaged
# extension. Their GUIDs follow from the processor type and the file's name.
function(vantrel_msi_extensions_fragment wxs)
    cmake_parse_arguments(PARSE_ARGV 1 FRAGMENT "POLICIES" "" "")
    set(components "")
    set(references "")
    set(names "")
    set(index 0)
    foreach(file ${FRAGMENT_UNPARSED_ARGUMENTS})
        if(NOT IS_ABSOLUTE "${file}")
            message(FATAL_ERROR "VANTREL_MSI_EXTENSION_FILES: \"${file}\" is not a full path")
        endif()
        math(EXPR index "${index} + 1")
        get_filename_component(name "${file}" NAME)
        # One folder holds them all.
        if(name IN_LIST names)
            message(FATAL_ERROR "VANTREL_MSI_EXTENSION_FILES: two files named ${name}")
        endif()
        list(APPEND names ${name})
        string(UUID guid NAMESPACE C999E88F-1CFF-412F-87EC-31184A96C2C9
               NAME "${VANTREL_MSI_ARCH}/extensions/${name}" TYPE SHA1 UPPER)
        string(APPEND components
            "        <Component Id=\"ExtensionPackage${index}\" Guid=\"{${guid}}\" Win64=\"${VANTREL_MSI_NATIVE_VIEW}\">\n"
            "          <File Id=\"ExtensionPackage${index}\" Name=\"${name}\" Source=\"extensions/${name}\" KeyPath=\"yes\"/>\n"
            "        </Component>\n")
        string(APPEND references "      <ComponentRef Id=\"ExtensionPackage${index}\"/>\n")
    endforeach()
    if(FRAGMENT_POLICIES)
        vantrel_msi_policy_components(policies)
        string(APPEND components "${policies}")
        foreach(bits 32 64)
            if(policies MATCHES "ExtensionPolicies${bits}")
                string(APPEND references "      <ComponentRef Id=\"ExtensionPolicies${bits}\"/>\n")
            endif()
        endforeach()
    endif()
    set(folder "")
    if(components)
        string(CONCAT folder "    <DirectoryRef Id=\"INSTALLDIR\">\n      <Directory Id=\"ExtensionsFolder\" Name=\"extensions\">\n"
                   "${components}      </Directory>\n    </DirectoryRef>\n")
    endif()
    file(CONFIGURE OUTPUT ${wxs} @ONLY CONTENT
"<?xml version=\"1.0\" encoding=\"utf-8\"?>
<!-- Made by cmake/windows-installer.cmake from VANTREL_MSI_EXTENSION_FILES. -->
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Fragment>
${folder}    <ComponentGroup Id=\"ExtensionPackages\">
${references}    </ComponentGroup>
  </Fragment>
</Wix>
")
endfunction()

# The host the installers hold, stripped once: every installer of the build
# holds the same bytes.
set(VANTREL_MSI_HOST ${CMAKE_BINARY_DIR}/installer-host/vantrel.exe)
add_custom_command(OUTPUT ${VANTREL_MSI_HOST}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vantrel> ${VANTREL_MSI_HOST}
    COMMAND ${CMAKE_STRIP} ${VANTREL_MSI_HOST}
    DEPENDS vantrel
    VERBATIM)
add_custom_target(installer_host DEPENDS ${VANTREL_MSI_HOST})

# Makes `output`, an MSI of `version` (major.minor.build) holding this build's
# host and VANTREL_MSI_EXTENSION_FILES (or, after EXTENSION_FILES, the files
# given there), with the target `target` (part of "all"); the files it
# installs are gathered in <build>/<target>-files, where wixl runs. The tests
# make others to upgrade from and to refuse.
function(vantrel_add_msi target output version)
    cmake_parse_arguments(PARSE_ARGV 3 MSI "" "" EXTENSION_FILES)
    if(NOT "EXTENSION_FILES" IN_LIST ARGN)
        set(MSI_EXTENSION_FILES ${VANTREL_MSI_EXTENSION_FILES})
    endif()
    set(VANTREL_MSI_VERSION ${version})
    set(stage ${CMAKE_BINARY_DIR}/${target}-files)
    set(extensions_wxs ${CMAKE_BINARY_DIR}/${target}-extensions.wxs)
    # The policies come with the build's own packages, whose addresses they name.
    set(policies "")
    if(VANTREL_PACKAGED_EXTENSION_ID AND MSI_EXTENSION_FILES
       AND "${MSI_EXTENSION_FILES}" STREQUAL "${VANTREL_EXTENSION_PACKAGE_PATHS}")
        set(policies POLICIES)
    endif()
    vantrel_msi_extensions_fragment(${extensions_wxs} ${policies} ${MSI_EXTENSION_FILES})
    # The manifests name the host relative to themselves, which Chrome, Edge
    # and Firefox allow on Windows: they hold wherever the installer puts the
    # folder.
    set(PROGRAM_JSON vantrel.exe)
    vantrel_registered_origins(origins)
    list(JOIN origins "\", \"" ORIGIN)
    list(JOIN VANTREL_FIREFOX_EXTENSION_IDS "\", \"" EXTENSION)
    configure_file(${VANTREL_WINDOWS_PACKAGING_DIR}/org.vantrel.host.json.in
                   ${stage}/org.vantrel.host.json @ONLY)
    configure_file(${VANTREL_WINDOWS_PACKAGING_DIR}/org.vantrel.host.firefox.json.in
                   ${stage}/org.vantrel.host.firefox.json @ONLY)
    # Administrators read and edit these two in Notepad.
    configure_file(${VANTREL_WINDOWS_PACKAGING_DIR}/vantrel.cfg.in ${stage}/vantrel.cfg @ONLY
                   NEWLINE_STYLE CRLF)
    configure_file(${VANTREL_WINDOWS_PACKAGING_DIR}/README.txt.in ${stage}/README.txt @ONLY
                   NEWLINE_STYLE CRLF)
    set(staged vantrel.cfg org.vantrel.host.json org.vantrel.host.firefox.json README.txt)
    list(TRANSFORM staged PREPEND ${stage}/)
    set(copy_extension_packages "")
    if(MSI_EXTENSION_FILES)
        set(copy_extension_packages
            COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/extensions
            COMMAND ${CMAKE_COMMAND} -E copy ${MSI_EXTENSION_FILES} ${stage}/extensions)
    endif()
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${VANTREL_MSI_HOST} ${stage}/vantrel.exe
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}/extensions
        ${copy_extension_packages}
        COMMAND ${VANTREL_WIXL} --arch ${VANTREL_MSI_ARCH} -D Version=${version}
                -D Arch=${VANTREL_MSI_ARCH} -I ${VANTREL_WINDOWS_PACKAGING_DIR} -o ${output}
                ${VANTREL_WINDOWS_PACKAGING_DIR}/vantrel.wxs ${extensions_wxs}
        COMMAND ${VANTREL_MSIBUILD} ${output} ${VANTREL_MSI_TABLE_FIXES}
        WORKING_DIRECTORY ${stage}
        DEPENDS installer_host ${VANTREL_MSI_HOST} ${VANTREL_WINDOWS_PACKAGING_DIR}/vantrel.wxs
                ${VANTREL_WINDOWS_PACKAGING_DIR}/browser-keys.wxi ${extensions_wxs}
                ${staged} ${MSI_EXTENSION_FILES}
        COMMENT "Making ${output}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
    add_dependencies(${target} installer_host ${VANTREL_MSI_EXTENSION_TARGETS})
endfunction()

set(VANTREL_MSI ${CMAKE_BINARY_DIR}/vantrel-${VANTREL_MSI_VERSION}-${VANTREL_MSI_ARCH}.msi)
vantrel_add_msi(installer ${VANTREL_MSI} ${VANTREL_MSI_VERSION})
