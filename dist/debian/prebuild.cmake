# Run by cpack once the installation is staged and before it is packed: adds what a Debian package
# holds beyond the installation, its changelog and what lintian is told to overlook. Manual pages
# and the changelog are compressed with gzip -9n, which leaves out the name and time stamp, so that
# the same sources give the same package.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/*.[1-9]")
set(docs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME}")
file(COPY_FILE "${CPACK_SABLEMAP_DEBIAN_CHANGELOG}" "${docs}/changelog.Debian")
set(overrides "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/lintian/overrides")
file(MAKE_DIRECTORY "${overrides}")
file(COPY_FILE "${CPACK_SABLEMAP_LINTIAN_OVERRIDES}" "${overrides}/${CPACK_PACKAGE_NAME}")
foreach(file IN LISTS pages ITEMS "${docs}/changelog.Debian")
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip could not compress ${file}")
  endif()
endforeach()
