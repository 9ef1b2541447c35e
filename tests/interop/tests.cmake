# Interoperability tests: the built host against the real PKCS#11 modules of
# the machine (OpenSC with a virtual smart card, openCryptoki, p11-kit, NSS,
# SoftHSM2's EC keys, tpm2-pkcs11 on a software TPM), each with a set-up it
# starts and tears down itself.

# The set-ups beside the tests.
file(GLOB interop_support CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER interop_support EXCLUDE REGEX "(_test|virtual_cac_card)\\.cpp$")
target_sources(${target} PRIVATE ${interop_support})

# The card side of the virtual smart card, over libcacard.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBCACARD REQUIRED IMPORTED_TARGET libcacard)
add_executable(vantrel-virtual-cac ${CMAKE_CURRENT_LIST_DIR}/virtual_cac_card.cpp)
target_link_libraries(vantrel-virtual-cac PRIVATE PkgConfig::LIBCACARD)

# Where Debian puts the modules; the expected path when a package is missing,
# so that the test fails saying which file it could not load.
function(vantrel_module_path variable name)
    foreach(dir /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE} /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/pkcs11
            /usr/lib /usr/lib/pkcs11)
        if(EXISTS ${dir}/${name})
            set(${variable} ${dir}/${name} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    set(${variable} /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/${name} PARENT_SCOPE)
endfunction()
vantrel_module_path(opensc_module opensc-pkcs11.so)
vantrel_module_path(opencryptoki_module libopencryptoki.so)
vantrel_module_path(p11kit_proxy_module p11-kit-proxy.so)
vantrel_module_path(p11kit_trust_module p11-kit-trust.so)
vantrel_module_path(nss_roots_module libnssckbi.so)
vantrel_module_path(nss_softoken_module libsoftokn3.so)
vantrel_module_path(tpm2_module libtpm2_pkcs11.so.1)

target_compile_definitions(${target} PRIVATE
    VANTREL_HOST_EXE="$<TARGET_FILE:vantrel>"
    VANTREL_VIRTUAL_CAC="$<TARGET_FILE:vantrel-virtual-cac>"
    VANTREL_OPENSC_MODULE="${opensc_module}"
    VANTREL_OPENCRYPTOKI_MODULE="${opencryptoki_module}"
    VANTREL_P11KIT_PROXY_MODULE="${p11kit_proxy_module}"
    VANTREL_P11KIT_TRUST_MODULE="${p11kit_trust_module}"
    VANTREL_NSS_ROOTS_MODULE="${nss_roots_module}"
    VANTREL_NSS_SOFTOKEN_MODULE="${nss_softoken_module}"
    VANTREL_TPM2_MODULE="${tpm2_module}")
add_dependencies(${target} vantrel vantrel-virtual-cac)
find_package(nlohmann_json 3 REQUIRED)
target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)

# One daemon of each kind per machine (pcscd's socket and the reader's fixed
# port, openCryptoki's store): these tests run one at a time.
# Some modules leak and unload the library that leaked before LeakSanitizer
# reports (openCryptoki's token library): the full stack of each allocation,
# taken while it was loaded, still shows the module lsan.supp names.
set(test_properties RESOURCE_LOCK vantrel_interop LABELS interop
    ENVIRONMENT_MODIFICATION "LSAN_OPTIONS=string_append::fast_unwind_on_malloc=0")
