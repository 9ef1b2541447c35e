find_package(OpenSSL REQUIRED)
target_link_libraries(${target} PRIVATE OpenSSL::Crypto)
