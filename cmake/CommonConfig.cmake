# Settings every Quillet target shares.
add_library(quillet_common_cfg INTERFACE)
target_compile_features(quillet_common_cfg INTERFACE cxx_std_20)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(quillet_common_cfg INTERFACE -Wall -Wextra -Wpedantic -Wshadow=local)
elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  target_compile_options(quillet_common_cfg INTERFACE -Wall -Wextra -Wpedantic)
endif()
target_compile_definitions(quillet_common_cfg INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_KEYWORDS)

set(QUILLET_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined")
if(QUILLET_SANITIZE)
  target_compile_options(quillet_common_cfg INTERFACE -fsanitize=${QUILLET_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quillet_common_cfg INTERFACE -fsanitize=${QUILLET_SANITIZE})
endif()
