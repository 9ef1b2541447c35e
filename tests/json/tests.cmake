find_package(nlohmann_json 3 REQUIRED)
target_link_libraries(${target} PRIVATE nlohmann_json::nlohmann_json)
