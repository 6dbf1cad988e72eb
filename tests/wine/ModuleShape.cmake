# The built module as a host's loader sees it (machine type, export names, the embedded type
# library's target system), read from the file without running it: checked in each build, even
# on a machine that cannot run that build's programs.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
math(EXPR module_bits "${CMAKE_SIZEOF_VOID_P} * 8")
add_test(NAME module_shape
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/ModuleShapeTest.py ${CMAKE_OBJDUMP} ${RAMVEL_OCX}
                 ${module_bits})
