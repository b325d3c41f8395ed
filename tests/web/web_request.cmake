# The web request routine and the internet client under it.

# WebRequest against the recording fake, which takes the place of the real layer.
quorvel_add_test(web_request_fake
  SOURCES web_request_fake_test.cpp internet_fake.cpp
  LIBS quorvel_core)

# WebRequest through the real layer (libcurl, or WinInet under Wine) against local servers.
quorvel_add_test(web_request_http
  SOURCES web_request_http_test.cpp
  LIBS quorvel_core quorvel_platform_internet)

# The real layer's own calls, where the routine relies on their exact results.
quorvel_add_test(internet_layer
  SOURCES internet_layer_test.cpp
  LIBS quorvel_platform_internet)

# HTTPS against a local TLS server with a self-signed certificate, which the default checks
# refuse. The server is a separate process (Python), started before and stopped after the test;
# it writes its port into a file whose path the test gets from the environment.
find_program(QUORVEL_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(QUORVEL_PYTHON3 NAMES python3)
set(tls_server_dir ${CMAKE_CURRENT_BINARY_DIR}/tls_server)
add_test(NAME web_tls_server_start
  COMMAND ${QUORVEL_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/tls_server.py start ${tls_server_dir})
add_test(NAME web_tls_server_stop
  COMMAND ${QUORVEL_PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/tls_server.py stop ${tls_server_dir})
set_tests_properties(web_tls_server_start PROPERTIES FIXTURES_SETUP web_tls TIMEOUT 60)
set_tests_properties(web_tls_server_stop PROPERTIES FIXTURES_CLEANUP web_tls TIMEOUT 60)
quorvel_add_test(web_request_tls
  SOURCES web_request_tls_test.cpp
  LIBS quorvel_core quorvel_platform_internet
  ENVIRONMENT QUORVEL_TLS_PORT_FILE=${tls_server_dir}/port
  FIXTURES web_tls)
