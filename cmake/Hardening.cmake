# The distribution's hardening, in every build of the project and not only the package's:
# executables that load at a random address, a canary on the stack of every function that holds
# an array, no stack growth that jumps over the guard page, the C library's checked copies of the
# string and memory functions, and relocations that are all resolved at start-up and then made
# read-only. The checked functions need optimisation, so a Debug build goes without them; flags
# that ask for a stronger check already (_FORTIFY_SOURCE=3) are kept.
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection)
if(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE=[3-9]")
  # A compiler that defines a weaker level on its own would warn about a second definition.
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                      $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(-Wl,-z,relro -Wl,-z,now)
