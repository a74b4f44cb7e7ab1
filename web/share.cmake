# The share panel's QR code library for the page, included by
# web/CMakeLists.txt: its files join page_outputs, which the page's target
# makes; share_page_files names them in the page's folder.

# Installed from its lock file at build time (the page asks nothing of
# anyone at run time), and copied into the page's folder with its licence.
find_program(KANSU_NPM NAMES npm REQUIRED)
set(page_modules ${CMAKE_CURRENT_BINARY_DIR}/page-modules)
file(MAKE_DIRECTORY ${page_modules})
set(qrcode_file ${page_modules}/node_modules/qrcode-generator/dist/qrcode.js)
add_custom_command(
  OUTPUT ${qrcode_file}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/package.json
          ${CMAKE_CURRENT_SOURCE_DIR}/package-lock.json ${page_modules}/
  COMMAND ${KANSU_NPM} ci --no-audit --no-fund
  COMMAND ${CMAKE_COMMAND} -E touch ${qrcode_file}
  WORKING_DIRECTORY ${page_modules}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/package.json ${CMAKE_CURRENT_SOURCE_DIR}/package-lock.json
  COMMENT "Installing the QR code library from web/package-lock.json"
  VERBATIM)
add_custom_command(
  OUTPUT ${page_dir}/qrcode.js ${page_dir}/qrcode-licence.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${qrcode_file} ${page_dir}/qrcode.js
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/qrcode-licence.txt ${page_dir}/qrcode-licence.txt
  DEPENDS ${qrcode_file} ${CMAKE_CURRENT_SOURCE_DIR}/qrcode-licence.txt
  VERBATIM)
set(share_page_files qrcode.js qrcode-licence.txt)
list(TRANSFORM share_page_files PREPEND ${page_dir}/ OUTPUT_VARIABLE share_outputs)
list(APPEND page_outputs ${share_outputs})
