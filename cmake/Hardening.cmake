# The hardening a distribution builds its games with (what Debian's dpkg-buildflags gives
# with hardening=+all): fortified string and memory calls, stack protector, format checks,
# and a relocation table made read-only and resolved at start. Only for the optimised builds
# that get packaged: fortifying needs optimisation, and the sanitizer build brings checks of
# its own that these would get in the way of.
if(NOT QM_SANITIZE)
  set(qm_release $<CONFIG:Release,RelWithDebInfo>)
  add_compile_options(
    $<${qm_release}:-D_FORTIFY_SOURCE=2>
    $<${qm_release}:-fstack-protector-strong>
    $<${qm_release}:-Wformat>
    $<${qm_release}:-Werror=format-security>)
  add_link_options($<${qm_release}:LINKER:-z,relro> $<${qm_release}:LINKER:-z,now>)
endif()
