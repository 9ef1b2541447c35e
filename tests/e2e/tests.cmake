# The tests start the built host and the client tool as child processes.
target_compile_definitions(${target} PRIVATE
    VANTREL_HOST_EXE="$<TARGET_FILE:vantrel>"
    VANTREL_CLIENT_EXE="$<TARGET_FILE:vantrel-client>")
add_dependencies(${target} vantrel vantrel-client)
find_package(nlohmann_json 3 REQUIRED)
target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
