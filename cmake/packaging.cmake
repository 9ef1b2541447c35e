# Installation on Linux and the Debian package.
#
# The host, vantrel-client and vantrel-register live together in
# <libexecdir>/vantrel (each finds the others beside itself); the two tools are
# linked into <bindir>. A full `cmake --install` also registers the host with
# the browsers (the "registration" component): system-wide when installing as
# root or into a DESTDIR, else for the installing user. The Debian package
# leaves that to its postinst, so that dpkg never owns a manifest, and adds the
# configuration file as /etc/vantrel/vantrel.cfg (the "debian" component),
# which names p11-kit's proxy module.
# Windows has an MSI installer instead (cmake/windows-installer.cmake).
if(WIN32)
    return()
endif()

include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/browser-extensions.cmake)

# The packaged extension (cmake/extension.cmake) is always among the
# registered ones.
vantrel_registered_origins(VANTREL_REGISTERED_ORIGINS)
set(VANTREL_REGISTER_EXTENSIONS "")
foreach(origin ${VANTREL_REGISTERED_ORIGINS})
    list(APPEND VANTREL_REGISTER_EXTENSIONS --origin ${origin})
endforeach()
foreach(id ${VANTREL_FIREFOX_EXTENSION_IDS})
    list(APPEND VANTREL_REGISTER_EXTENSIONS --firefox-id ${id})
endforeach()
# For the shell each word is quoted (browser-extensions.cmake leaves no
# quote in them); for the install script the words stand apart.
list(JOIN VANTREL_REGISTER_EXTENSIONS "' '" VANTREL_REGISTER_EXTENSIONS_SH)
set(VANTREL_REGISTER_EXTENSIONS_SH "'${VANTREL_REGISTER_EXTENSIONS_SH}'")
list(JOIN VANTREL_REGISTER_EXTENSIONS " " VANTREL_REGISTER_EXTENSIONS)

set(VANTREL_INSTALL_DIR ${CMAKE_INSTALL_LIBEXECDIR}/vantrel)
set(VANTREL_PACKAGE_PREFIX /usr)
set(VANTREL_PACKAGE_DIR ${VANTREL_PACKAGE_PREFIX}/${VANTREL_INSTALL_DIR})

if(TARGET vantrel AND TARGET vantrel-client)
    install(TARGETS vantrel vantrel-client RUNTIME DESTINATION ${VANTREL_INSTALL_DIR} COMPONENT runtime)
endif()
install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/vantrel-register DESTINATION ${VANTREL_INSTALL_DIR} COMPONENT runtime)
# Its --check frames through this module, read from beside the tool.
install(FILES ${CMAKE_SOURCE_DIR}/tools/native_messaging.py DESTINATION ${VANTREL_INSTALL_DIR}
        COMPONENT runtime)

set(VANTREL_STAGE_DIR ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${VANTREL_STAGE_DIR}/bin ${VANTREL_STAGE_DIR}/host)
file(RELATIVE_PATH VANTREL_BIN_TO_INSTALL_DIR /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VANTREL_INSTALL_DIR})
foreach(tool vantrel-client vantrel-register)
    # Relative, so that the links hold under any prefix and in a staging root.
    file(CREATE_LINK ${VANTREL_BIN_TO_INSTALL_DIR}/${tool} ${VANTREL_STAGE_DIR}/bin/${tool} SYMBOLIC)
    install(FILES ${VANTREL_STAGE_DIR}/bin/${tool} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endforeach()

# The host reads the .cfg beside itself; the package keeps the real file in /etc.
file(CREATE_LINK /etc/vantrel/vantrel.cfg ${VANTREL_STAGE_DIR}/host/vantrel.cfg SYMBOLIC)
install(FILES ${VANTREL_STAGE_DIR}/host/vantrel.cfg DESTINATION ${VANTREL_INSTALL_DIR}
    COMPONENT debian EXCLUDE_FROM_ALL)
# The package's configuration names p11-kit's proxy module, so that the host
# reaches every module registered on the machine without editing.
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
    pkg_get_variable(VANTREL_P11KIT_PROXY p11-kit-1 proxy_module)
endif()
if(NOT VANTREL_P11KIT_PROXY)
    set(VANTREL_P11KIT_PROXY /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/p11-kit-proxy.so)
endif()
configure_file(${CMAKE_SOURCE_DIR}/packaging/linux/vantrel.cfg.in ${VANTREL_STAGE_DIR}/etc/vantrel.cfg @ONLY)
install(FILES ${VANTREL_STAGE_DIR}/etc/vantrel.cfg DESTINATION /etc/vantrel
    COMPONENT debian EXCLUDE_FROM_ALL)

# The extension's packages, the policy tool that has the browsers install them
# from there, and the administrator's settings for the extension.
install(FILES ${VANTREL_EXTENSION_PACKAGE_PATHS} DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel
    COMPONENT debian EXCLUDE_FROM_ALL)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/linux/vantrel-policies DESTINATION ${VANTREL_INSTALL_DIR}
    COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/linux/extension.cfg DESTINATION /etc/vantrel
    COMPONENT debian EXCLUDE_FROM_ALL)

# Into a staging root or as root: for every user; a user's own install: for that user.
install(CODE "
    set(scope --system --root \"\$ENV{DESTDIR}\")
    if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
        execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(uid STREQUAL 0)
            set(scope --system)
        else()
            set(scope)
        endif()
    endif()
    execute_process(
        COMMAND python3 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VANTREL_INSTALL_DIR}/vantrel-register\"
            \${scope} --host \"\${CMAKE_INSTALL_PREFIX}/${VANTREL_INSTALL_DIR}/vantrel\"
            ${VANTREL_REGISTER_EXTENSIONS}
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR \"vantrel-register could not register the host\")
    endif()
" COMPONENT registration)

file(READ ${CMAKE_SOURCE_DIR}/packaging/linux/vantrel-policies VANTREL_POLICIES_TOOL)
foreach(script postinst prerm postrm)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/linux/${script}.in ${VANTREL_STAGE_DIR}/debian/${script} @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
# The administrator's files, kept on removal, gone on purge. The browsers'
# policies are no conffiles: the postinst writes them from extension.cfg and
# the prerm takes them away, so that a removed package leaves no browser
# installing an extension that is gone.
file(WRITE ${VANTREL_STAGE_DIR}/debian/conffiles "/etc/vantrel/vantrel.cfg\n/etc/vantrel/extension.cfg\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vantrel developers <dev@vantrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Native messaging host: PKCS#11 tokens and signatures for web pages")
set(CPACK_PACKAGE_DESCRIPTION "Vantrel lets a browser extension list the PKCS#11 tokens and certificates \
of the machine, log in with a PIN and sign data on the token. The package registers the host \
org.vantrel.host with Chromium, Google Chrome, Microsoft Edge, Brave, Vivaldi and Firefox for every \
user, and has Chromium, Google Chrome and Firefox install the Vantrel extension for every user by \
policy, with the settings of /etc/vantrel/extension.cfg.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${VANTREL_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};runtime;/;${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# p11-kit's proxy module; OpenSC and pcscd for smart cards in readers.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "python3, p11-kit-modules")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "opensc-pkcs11, pcscd")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${VANTREL_STAGE_DIR}/debian/postinst ${VANTREL_STAGE_DIR}/debian/prerm ${VANTREL_STAGE_DIR}/debian/postrm
    ${VANTREL_STAGE_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

if(VANTREL_BUILD_TESTS)
    find_package(Python3 COMPONENTS Interpreter)
    if(Python3_Interpreter_FOUND)
        add_test(NAME vantrel_register
            COMMAND ${Python3_EXECUTABLE} -m unittest discover -s ${CMAKE_SOURCE_DIR}/tests/register)
        # --check starts this build's host, and makes its token misbehave
        # through this build's fault-injecting module.
        if(TARGET vantrel AND TARGET vantrel_pkcs11_fault)
            set_tests_properties(vantrel_register PROPERTIES ENVIRONMENT
                "VANTREL_HOST=$<TARGET_FILE:vantrel>;VANTREL_FAULT_MODULE=$<TARGET_FILE:vantrel_pkcs11_fault>")
        endif()
    endif()
    # The package of a sanitizer build is of no use to anyone.
    if(NOT VANTREL_SANITIZE AND TARGET vantrel)
        add_test(NAME debian_package
            COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/test-debian-package.sh ${CMAKE_BINARY_DIR})
    endif()
endif()
