# Debian's changelog and the AppStream entry keep their own lists of releases,
# as their formats require; the newest of each must be the version project()
# sets. Usage: cmake -DVERSION=X.Y -DSOURCE=SOURCE_DIR -P release_records.cmake
function(expect_newest_release file pattern)
    file(READ ${SOURCE}/${file} text)
    string(REGEX MATCH "${pattern}" found "${text}")
    if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
        message(FATAL_ERROR "The newest release in ${file} is '${CMAKE_MATCH_1}', "
                            "not ${VERSION} as project() in CMakeLists.txt has it.")
    endif()
endfunction()

expect_newest_release(debian/changelog "^tessaldo \\(([^)]*)\\)")
expect_newest_release(data/org.example.tessaldo.metainfo.xml "<release version=\"([^\"]*)\"")
