# The page in headless chromium, driven by playwright-core (tests/web/):
# node's own test runner, the modules installed by `npm ci` there.
find_program(NODE node)
find_program(CHROMIUM chromium)
set(web_tools "")
if(NODE AND CHROMIUM AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/web/node_modules/playwright-core)
  set(web_tools ON)
endif()
add_tool_test(page "${web_tools}" "node, chromium and playwright-core (npm ci in tests/web)"
              ${NODE} --test ${CMAKE_CURRENT_SOURCE_DIR}/web/page.test.mjs)
set_tests_properties(page PROPERTIES TIMEOUT 300 ENVIRONMENT
                     "PAGE=${PROJECT_BINARY_DIR}/listprograms.html;CHROMIUM=${CHROMIUM};NATIVE=${PROJECT_SOURCE_DIR}/build/bin;TABLES=${CMAKE_CURRENT_SOURCE_DIR}")
