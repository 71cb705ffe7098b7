# cmake -DVERSION=x.y.z -DCHANGELOG=path -P CheckChangelog.cmake: fails unless the changelog has
# a section for the version project() sets, so a new version number comes with its notes.
file(READ ${CHANGELOG} text)
string(FIND "${text}" "\n## [${VERSION}]" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${CHANGELOG} has no section \"## [${VERSION}]\" for the version in "
                        "CMakeLists.txt")
endif()
