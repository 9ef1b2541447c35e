# The tests start the built host as a child process.
target_compile_definitions(${target} PRIVATE VANTREL_HOST_EXE="$<TARGET_FILE:vantrel>")
add_dependencies(${target} vantrel)
find_package(nlohmann_json 3 REQUIRED)
target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
