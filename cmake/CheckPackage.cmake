# Run by CPack once it made the Windows build's package: the package check reads
# what it holds, and a package that fails it fails the packing.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${CPACK_KESTRIVANE_PACKAGE_CHECK} ${package} ${CPACK_KESTRIVANE_PROCESSOR}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "The package ${package} failed its check")
  endif()
endforeach()
