# The extensions the host is registered for, by the Debian package and by the
# Windows installer alike: the sample extension (extension/) unless a build
# names others. Chromium-family extensions by origin, Firefox ones by ID.
include_guard(GLOBAL)

set(VANTREL_EXTENSION_ORIGINS "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/" CACHE STRING
    "Chromium-family extension origins (chrome-extension://ID/) the host is registered for")
set(VANTREL_FIREFOX_EXTENSION_IDS "vantrel-sample@vantrel.org" CACHE STRING
    "Firefox extension IDs the host is registered for")

# The values end up in a shell script run as root and in the manifests'
# JSON: only well-formed ones, which hold no quote or backslash.
foreach(origin ${VANTREL_EXTENSION_ORIGINS})
    string(REGEX MATCH "^chrome-extension://([a-p]+)/?$" matched "${origin}")
    string(LENGTH "${CMAKE_MATCH_1}" id_length)
    if(NOT matched OR NOT id_length EQUAL 32)
        message(FATAL_ERROR "VANTREL_EXTENSION_ORIGINS: \"${origin}\" is not chrome-extension:// "
                            "followed by a 32-letter extension ID and a slash")
    endif()
endforeach()
foreach(id ${VANTREL_FIREFOX_EXTENSION_IDS})
    if(NOT id MATCHES "^({[0-9A-Fa-f-]+}|[A-Za-z0-9._+-]*@[A-Za-z0-9._-]+)$")
        message(FATAL_ERROR "VANTREL_FIREFOX_EXTENSION_IDS: \"${id}\" is not name@domain or {GUID}")
    endif()
endforeach()
if(NOT VANTREL_EXTENSION_ORIGINS OR NOT VANTREL_FIREFOX_EXTENSION_IDS)
    message(FATAL_ERROR "VANTREL_EXTENSION_ORIGINS and VANTREL_FIREFOX_EXTENSION_IDS need a value each")
endif()

# The Chromium-family origins the manifests allow: the chosen ones and the
# packaged extension (cmake/extension.cmake, when included), whose ID follows
# from the build's signing key.
function(vantrel_registered_origins out)
    set(origins ${VANTREL_EXTENSION_ORIGINS})
    if(VANTREL_PACKAGED_EXTENSION_ID)
        list(APPEND origins "chrome-extension://${VANTREL_PACKAGED_EXTENSION_ID}/")
        list(REMOVE_DUPLICATES origins)
    endif()
    set(${out} ${origins} PARENT_SCOPE)
endfunction()
