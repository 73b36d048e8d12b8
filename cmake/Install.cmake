# What `cmake --install` puts where a Linux desktop looks for it: the program,
# its resources, its menu entry, the type of its documents and its icon.
install(TARGETS countinghouse RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/resources/"
        DESTINATION "${CH_RESOURCES_INSTALL_DIR}"
        PATTERN "desktop" EXCLUDE)
install(FILES "${PROJECT_SOURCE_DIR}/resources/desktop/countinghouse.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/resources/desktop/countinghouse.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
install(FILES "${PROJECT_SOURCE_DIR}/resources/icons/countinghouse.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
foreach(size 16 32 48 64 128 256)
  install(FILES "${PROJECT_SOURCE_DIR}/resources/icons/countinghouse-${size}.png"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
          RENAME countinghouse.png)
endforeach()
