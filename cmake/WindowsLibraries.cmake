# The Windows build links every library statically from the prefix that
# tools/build-windows.sh fills from third_party/, so the .exe needs no DLL
# but Windows' own.
set(QM_WINDOWS_PREFIX "$ENV{QM_WINDOWS_PREFIX}" CACHE PATH "Where tools/build-windows.sh built the libraries")
if(NOT EXISTS "${QM_WINDOWS_PREFIX}/lib/liballeg.a")
  message(FATAL_ERROR "No Allegro in QM_WINDOWS_PREFIX (${QM_WINDOWS_PREFIX}): build with tools/build-windows.sh")
endif()
set(lib ${QM_WINDOWS_PREFIX}/lib)

target_include_directories(qm_allegro SYSTEM INTERFACE ${QM_WINDOWS_PREFIX}/include)
target_compile_definitions(qm_allegro INTERFACE ALLEGRO_STATICLINK)
target_link_libraries(qm_allegro INTERFACE
  ${lib}/liballeggl.a ${lib}/libloadpng.a ${lib}/liballeg.a ${lib}/libpng.a ${lib}/libz.a
  glu32 opengl32 kernel32 user32 gdi32 comdlg32 ole32 dinput ddraw dxguid winmm dsound)
target_link_libraries(qm_sound INTERFACE
  ${lib}/libvorbisfile.a ${lib}/libvorbis.a ${lib}/libogg.a)
# No libgcc, libstdc++ or winpthread DLL beside the game.
add_link_options(-static -static-libgcc -static-libstdc++)
