# Writes one "## " section of a Markdown file as a document of its own, its
# heading raised to the top level. Run as a script:
#   cmake -DINPUT=README.md -DHEADING="Making a DVD with free tools"
#         -DOUTPUT=making-a-dvd.md -P ExtractSection.cmake
# The section runs to the next "## " heading or to the end of the file. A
# heading that is missing stops the build, so that a renamed section cannot
# install an empty document.
file(READ "${INPUT}" text)
string(FIND "${text}" "\n## ${HEADING}\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${INPUT} has no section \"## ${HEADING}\"")
endif()
math(EXPR start "${start} + 1")
string(SUBSTRING "${text}" ${start} -1 section)
string(LENGTH "## ${HEADING}\n" headingLength)
string(SUBSTRING "${section}" ${headingLength} -1 body)
string(FIND "${body}" "\n## " end)
if(NOT end EQUAL -1)
  string(SUBSTRING "${body}" 0 ${end} body)
endif()
string(STRIP "${body}" body)
file(WRITE "${OUTPUT}.tmp" "# ${HEADING}\n\n${body}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
