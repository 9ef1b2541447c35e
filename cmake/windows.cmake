# Pieces of the Windows build (MinGW-w64, see cmake/toolchains) that the Linux
# build finds on the system instead.

# Headers of the build machine that the Windows compiler may see. Each is copied
# on its own into a folder of the build, so that no other header of the build
# machine (glibc's above all) can reach the Windows compiler through the same
# include path.
set(VANTREL_WINDOWS_INCLUDE_DIR ${CMAKE_BINARY_DIR}/windows-include)

function(vantrel_stage_header source destination)
    if(NOT EXISTS ${source})
        message(FATAL_ERROR "${source} is missing (install the package that provides it)")
    endif()
    configure_file(${source} ${VANTREL_WINDOWS_INCLUDE_DIR}/${destination} COPYONLY)
endfunction()

# The PKCS#11 header is plain C without dependencies.
vantrel_stage_header(/usr/include/p11-kit-1/p11-kit/pkcs11.h p11-kit/pkcs11.h)
