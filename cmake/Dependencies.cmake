# Third-party libraries, gathered behind one interface target.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(PNG REQUIRED)
find_package(Threads REQUIRED)

add_library(quellaris_thirdparty INTERFACE)
add_library(Quellaris::thirdparty ALIAS quellaris_thirdparty)
target_link_libraries(quellaris_thirdparty INTERFACE
    PkgConfig::SDL2 PkgConfig::OPENAL OpenGL::GL OpenGL::GLU PNG::PNG Threads::Threads ${CMAKE_DL_LIBS})
