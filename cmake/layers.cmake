# The host's source folders, from the bottom up, and what each one uses
# directly: folders, or single headers of a folder it may use only in part. A
# file may include the headers of its own folder, of what its folder uses and of
# everything beneath that, never those of a folder above. The top of src/ (the
# entry point and VantrelApp) may use every folder.
set(VANTREL_LAYERS platform common json nmp der token request response handler)
set(VANTREL_LAYER_USES_platform "")
set(VANTREL_LAYER_USES_common platform)
set(VANTREL_LAYER_USES_json common)
set(VANTREL_LAYER_USES_nmp common)
set(VANTREL_LAYER_USES_der common)
set(VANTREL_LAYER_USES_token der)
set(VANTREL_LAYER_USES_request json)
# Replies carry the token's records, which need no PKCS#11 header.
set(VANTREL_LAYER_USES_response json token/token_info.h token/orphan_key.h
    token/certificate_info.h)
set(VANTREL_LAYER_USES_handler request response token)

# Sets `out` to what files of `layer` may include: folders and single headers.
function(vantrel_layer_reach layer out)
    set(reach ${layer})
    foreach(use ${VANTREL_LAYER_USES_${layer}})
        if(use MATCHES "/")
            list(APPEND reach ${use})
        else()
            vantrel_layer_reach(${use} below)
            list(APPEND reach ${below})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES reach)
    set(${out} ${reach} PARENT_SCOPE)
endfunction()

# One static library per folder, vantrel_<folder>, and vantrel_core, the
# application over them all, from the sources under `source_dir`. Each
# library's include path is a folder of the build holding a link to its own
# source folder only; it sees the folders beneath it through the libraries it
# links, so an include that runs upwards does not compile.
function(vantrel_add_layer_libraries source_dir)
    get_filename_component(source_dir ${source_dir} ABSOLUTE)
    if(WIN32)
        set(other_platform "_posix\\.cpp$")
    else()
        set(other_platform "_win32\\.cpp$")
    endif()
    foreach(layer ${VANTREL_LAYERS})
        file(GLOB sources CONFIGURE_DEPENDS ${source_dir}/${layer}/*.cpp)
        list(FILTER sources EXCLUDE REGEX "${other_platform}")
        set(root ${CMAKE_BINARY_DIR}/layers/${layer})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${source_dir}/${layer} ${root}/${layer} SYMBOLIC)
        add_library(vantrel_${layer} STATIC ${sources})
        target_include_directories(vantrel_${layer} PUBLIC ${root})
        set(used "")
        foreach(use ${VANTREL_LAYER_USES_${layer}})
            string(REGEX REPLACE "/.*" "" folder ${use})
            list(APPEND used vantrel_${folder})
        endforeach()
        list(REMOVE_DUPLICATES used)
        target_link_libraries(vantrel_${layer} PUBLIC ${used})
    endforeach()

    if(WIN32)
        target_link_libraries(vantrel_platform PUBLIC bcrypt)
        target_include_directories(vantrel_token SYSTEM PUBLIC ${VANTREL_WINDOWS_INCLUDE_DIR})
    else()
        # libcrypto for hashing only; Windows hashes with BCrypt.
        find_package(OpenSSL REQUIRED COMPONENTS Crypto)
        target_link_libraries(vantrel_platform PUBLIC ${CMAKE_DL_LIBS} OpenSSL::Crypto)
        find_path(PKCS11_INCLUDE_DIR p11-kit/pkcs11.h PATH_SUFFIXES p11-kit-1 REQUIRED)
        target_include_directories(vantrel_token SYSTEM PUBLIC ${PKCS11_INCLUDE_DIR})
    endif()

    add_library(vantrel_core STATIC ${source_dir}/vantrel_app.cpp)
    target_include_directories(vantrel_core PUBLIC ${source_dir})
    target_link_libraries(vantrel_core PUBLIC vantrel_handler vantrel_nmp)
endfunction()
