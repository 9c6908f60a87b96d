# The release's identity in one place: the version comes from project(); the
# maker's addresses below feed the program (src/core/update/BuildInfo.cpp),
# the AppStream metainfo and the man pages.
set(KEST_MAKER_NAME "The Kest developers")
set(KEST_HOME_PAGE "https://kest-catalog.org/")
set(KEST_SITE_NAME "kest-catalog.org")
set(KEST_MAKER_EMAIL "kest@kest-catalog.org")
# The update files are read from <base>/files/ (KEST_UPDATE_URL overrides it).
set(KEST_UPDATE_BASE "https://kest-catalog.org")

if(PROJECT_VERSION_PATCH STREQUAL "")
  set(PROJECT_VERSION_PATCH 0)
endif()
set(KEST_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")

# src/core/update gives these to BuildInfo.cpp.
set(KEST_RELEASE_DEFINITIONS "KEST_VERSION_MAJOR=${PROJECT_VERSION_MAJOR};KEST_VERSION_MINOR=${PROJECT_VERSION_MINOR};KEST_VERSION_PATCH=${PROJECT_VERSION_PATCH};KEST_MAKER_NAME=\"${KEST_MAKER_NAME}\";KEST_HOME_PAGE=\"${KEST_HOME_PAGE}\";KEST_SITE_NAME=\"${KEST_SITE_NAME}\";KEST_MAKER_EMAIL=\"${KEST_MAKER_EMAIL}\";KEST_UPDATE_BASE=\"${KEST_UPDATE_BASE}\"")
