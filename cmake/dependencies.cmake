# Third-party libraries, all from Debian packages. Their headers are included
# as SYSTEM so their warnings stay out of ours.
find_package(Threads REQUIRED)
find_package(ICU REQUIRED COMPONENTS uc i18n data)
find_package(SQLite3 REQUIRED)
find_package(Boost 1.74 REQUIRED COMPONENTS regex filesystem)
find_package(nlohmann_json 3 REQUIRED)
find_package(utf8cpp REQUIRED)

find_path(OPENFST_INCLUDE_DIR fst/fst.h REQUIRED)
find_library(OPENFST_LIBRARY fst REQUIRED)
add_library(trelix_openfst INTERFACE)
target_include_directories(trelix_openfst SYSTEM INTERFACE ${OPENFST_INCLUDE_DIR})
target_link_libraries(trelix_openfst INTERFACE ${OPENFST_LIBRARY})

add_library(trelix_deps INTERFACE)
add_library(trelix::deps ALIAS trelix_deps)
target_link_libraries(trelix_deps INTERFACE
  ICU::uc ICU::i18n ICU::data
  SQLite::SQLite3
  Boost::headers Boost::regex Boost::filesystem
  nlohmann_json::nlohmann_json
  utf8cpp
  trelix_openfst
  Threads::Threads
  ${CMAKE_DL_LIBS})
