# Compiler settings shared by every target of a flavour.

if(DIDA_WIN32 AND MSVC)
  # The same for Visual Studio (untested here).
  add_compile_options(/source-charset:utf-8 /execution-charset:.936 /W3)
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 _CRT_SECURE_NO_WARNINGS)
elseif(DIDA_WIN32)
  # All of the system's strings are 8-bit GBK: sources stay UTF-8 and the
  # compiler turns narrow literals into code page 936.
  add_compile_options(-fexec-charset=GBK -Wall -Wextra -Wno-unused-parameter)
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 _CRT_SECURE_NO_WARNINGS)
  # One self-contained file: no MinGW DLLs beside the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
endif()

# The host build makes fuzz targets when it is built with clang.
if(NOT DIDA_WIN32 AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(DIDA_FUZZ ON)
else()
  set(DIDA_FUZZ OFF)
endif()

# The compiler option for sources built with the x86 vector instructions up
# to SSSE3, which run only after the processor is asked (empty where none is
# needed or the target is no x86).
set(DIDA_SSSE3_OPTION "")
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$"
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(DIDA_SSSE3_OPTION -mssse3)
  # GCC's -O2 vectorises only loops of known length; the decoder's runs are
  # not (the horizontal filter's runs were then three times slower in the
  # 32-bit program than in the host's).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND DIDA_SSSE3_OPTION -fvect-cost-model=dynamic)
  endif()
endif()
