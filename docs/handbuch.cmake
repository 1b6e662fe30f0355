# cmake -DCMARK=<cmark-gfm> -DQUELLE=<docs/handbuch> -DZIEL=<build/handbuch> -P handbuch.cmake
#
# Renders handbuch.md into the frame rahmen.html (its "@INHALT@" is replaced) as
# ZIEL/index.html and copies the pictures to ZIEL/bilder. Raw HTML is let through: the
# sections' anchors are written as <a id="..."></a>.
execute_process(
  COMMAND ${CMARK} --extension table --unsafe --to html ${QUELLE}/handbuch.md
  OUTPUT_VARIABLE inhalt
  RESULT_VARIABLE ergebnis)
if(NOT ergebnis EQUAL 0)
  message(FATAL_ERROR "cmark-gfm: ${ergebnis}")
endif()
file(READ ${QUELLE}/rahmen.html rahmen)
string(REPLACE "@INHALT@" "${inhalt}" seite "${rahmen}")
file(REMOVE_RECURSE ${ZIEL}/bilder)
file(MAKE_DIRECTORY ${ZIEL})
file(COPY ${QUELLE}/bilder DESTINATION ${ZIEL})
file(WRITE ${ZIEL}/index.html.neu "${seite}")
file(RENAME ${ZIEL}/index.html.neu ${ZIEL}/index.html)
