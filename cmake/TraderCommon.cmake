# Every target of ours links trader_common: one place for the language level,
# the warnings that are errors, Qt's strictness and the sanitizers.
add_library(trader_common INTERFACE)
target_compile_features(trader_common INTERFACE cxx_std_20)
target_compile_options(trader_common INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(trader_common INTERFACE
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_CAST_FROM_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_DISABLE_DEPRECATED_BEFORE=0x060000
  TRADER_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  TRADER_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  TRADER_VERSION_RELEASE=${PROJECT_VERSION_PATCH}
  TRADER_VERSION_BUILD=${PROJECT_VERSION_TWEAK})

if(TRADER_SANITIZE)
  target_compile_options(trader_common INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(trader_common INTERFACE -fsanitize=address,undefined)
endif()
